// Feeds arbitrary bytes to the RTF reader, then checks that what the writer
// makes of the result reads back to the same text and paragraphs.
#include "rtf/Rtf.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument document;
    if (!vorlin::rtf::read(input, document))
        return 0;
    if (document.characterCount() > qsizetype(size) + 1)
        std::abort();  // more text than input: something is made up

    const QByteArray written = vorlin::rtf::write(document);
    QTextDocument again;
    if (!vorlin::rtf::read(written, again))
        std::abort();
    if (again.toRawText() != document.toRawText() || again.blockCount() != document.blockCount()) {
        std::fprintf(stderr, "round trip changed the text:\n%s\n", written.constData());
        std::abort();
    }
    return 0;
}
