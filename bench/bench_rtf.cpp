// RTF read and write: a typical 2 KB snippet, and a 5 MB document.
#include "bench/Measure.h"
#include "rtf/Rtf.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFragment>
#include <QTextDocument>

#include <memory>
#include <vector>

using namespace vorlin;
using namespace vorlin::bench;

namespace {

// A document of paragraphs mixing the formats snippets carry, until its RTF
// has about the given size.
QByteArray sampleRtf(qsizetype bytes)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Tahoma")});
    plain.setFontPointSize(10);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat red = plain;
    red.setForeground(QColor(200, 0, 0));
    red.setFontItalic(true);
    int paragraph = 0;
    while (true) {
        cursor.insertText(QStringLiteral("Mgr. Jan Novák, advokát, "), bold);
        cursor.insertText(QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy u Krajského soudu v Brně, "), plain);
        cursor.insertText(QStringLiteral("sp. zn. 25 Cdo 1234/2020"), red);
        cursor.insertText(QStringLiteral(" – rozsudek ze dne 1. 2. 2021."), plain);
        // Each paragraph writes about 400 bytes; check the size now and then.
        if (++paragraph % 512 == 0 && rtf::write(document).size() >= bytes)
            break;
        QTextBlockFormat block;
        block.setAlignment(paragraph % 3 == 0 ? Qt::AlignJustify : Qt::AlignLeft);
        cursor.insertBlock(block, plain);
        if (bytes < 4096 && rtf::write(document).size() >= bytes)
            break;
    }
    return rtf::write(document);
}

void measure(const char* name, const QByteArray& rtf, int rounds)
{
    // Each read goes into an empty document, as a body goes into an editor;
    // emptying a document of the last read is not part of the figure.
    std::vector<std::unique_ptr<QTextDocument>> documents{std::size_t(rounds)};
    for (auto& d : documents)
        d = std::make_unique<QTextDocument>();
    std::size_t next = 0;
    const double readUs = medianMicroseconds(rounds, [&] { rtf::read(rtf, *documents[next++]); });
    const QTextDocument& document = *documents.front();
    QByteArray written;
    const double writeUs = medianMicroseconds(rounds, [&] { written = rtf::write(document); });
    const double megabytes = double(rtf.size()) / (1024.0 * 1024.0);
    report(std::string("rtf_read_") + name + "_median", readUs, "us");
    report(std::string("rtf_write_") + name + "_median", writeUs, "us");
    report(std::string("rtf_read_") + name + "_throughput", megabytes / (readUs / 1e6), "MB/s");
    report(std::string("rtf_write_") + name + "_throughput", megabytes / (writeUs / 1e6), "MB/s");
    report(std::string("rtf_") + name + "_size", double(rtf.size()) / 1024.0, "KB");

    // The floor under the reader: building the same runs and paragraphs into
    // an empty document through QTextCursor, without any parsing.
    struct Piece {
        bool newBlock;
        QString text;
        QTextCharFormat format;
        QTextBlockFormat block;
    };
    std::vector<Piece> pieces;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        pieces.push_back({block != document.begin(), {}, block.charFormat(), block.blockFormat()});
        for (auto it = block.begin(); !it.atEnd(); ++it)
            pieces.push_back({false, it.fragment().text(), it.fragment().charFormat(), {}});
    }
    std::vector<std::unique_ptr<QTextDocument>> targets{std::size_t(rounds)};
    for (auto& d : targets)
        d = std::make_unique<QTextDocument>();
    next = 0;
    const double buildUs = medianMicroseconds(rounds, [&] {
        QTextDocument& target = *targets[next++];
        target.setUndoRedoEnabled(false);
        QTextCursor cursor(&target);
        cursor.beginEditBlock();
        for (const Piece& piece : pieces) {
            if (piece.newBlock)
                cursor.insertBlock(piece.block, piece.format);
            else if (!piece.text.isEmpty())
                cursor.insertText(piece.text, piece.format);
        }
        cursor.endEditBlock();
    });
    report(std::string("qtextdocument_build_same_runs_") + name + "_median", buildUs, "us");
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    measure("snippet_2kb", sampleRtf(2048), 2001);
    const QByteArray large = sampleRtf(5 * 1024 * 1024);
    if (const QByteArray dump = qgetenv("VORLIN_BENCH_DUMP"); !dump.isEmpty()) {
        QFile out(QString::fromLocal8Bit(dump));
        if (out.open(QIODevice::WriteOnly))
            out.write(large);
    }
    measure("document_5mb", large, 7);
    return 0;
}
