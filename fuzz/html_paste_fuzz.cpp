// Feeds arbitrary HTML to the paste's nesting count and, where the count
// lets it through, to the editor's HTML reader, as a paste does: the count
// stays within its bound, and what it lets through is read within the
// fuzzer's time limit (a nesting it missed takes minutes).
#include "ui/richtext/ClipboardPaste.h"

#include <QGuiApplication>
#include <QTextDocumentFragment>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "html_paste_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    const QByteArray html(reinterpret_cast<const char*>(data), qsizetype(size));
    const int depth = vorlin::ui::htmlNesting(html, vorlin::ui::kPasteNestingLimit);
    if (depth < 0 || depth > vorlin::ui::kPasteNestingLimit + 1)
        std::abort();
    if (depth <= vorlin::ui::kPasteNestingLimit)
        QTextDocumentFragment::fromHtml(QString::fromUtf8(html));
    return 0;
}
