// RTF exchanged with LibreOffice Writer, the word processor the snippets are
// pasted into: what it writes reads with its formatting, and what we write it
// takes with its formatting.
#include "DocumentRuns.h"
#include "FuzzSeeds.h"
#include "rtf/Rtf.h"
#include "support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

using namespace vorlin;
using vorlin::test::TempDir;

namespace {

// Converts a file with a headless office of its own; returns the output.
QByteArray convertWithOffice(const TempDir& dir, const QString& input, const QString& target,
                             const QString& inputFilter = {})
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty()) {
        ADD_FAILURE() << "soffice is not installed (scripts/deps test installs libreoffice-writer)";
        return {};
    }
    QStringList arguments = {QStringLiteral("-env:UserInstallation=file://") + dir.path() + QStringLiteral("profile"),
                             QStringLiteral("--headless"), QStringLiteral("--norestore")};
    if (!inputFilter.isEmpty())
        arguments << QStringLiteral("--infilter=") + inputFilter;
    arguments << QStringLiteral("--convert-to") << target << QStringLiteral("--outdir") << dir.path() + QStringLiteral("out")
              << dir.file(input);
    QProcess process;
    process.start(office, arguments);
    EXPECT_TRUE(process.waitForFinished(120000)) << "the office did not finish";
    const QString extension = target.section(u':', 0, 0);
    QFile output(dir.path() + QStringLiteral("out/") + input.section(u'.', 0, 0) + u'.' + extension);
    EXPECT_TRUE(output.open(QIODevice::ReadOnly)) << process.readAllStandardError().toStdString();
    return output.readAll();
}


Qt::Alignment alignmentOf(const QTextDocument& document, const QString& text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.text().contains(text))
            return block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    ADD_FAILURE() << "no paragraph holds " << text.toStdString();
    return {};
}

}  // namespace

TEST(RtfFromOffice, WhatWriterWritesReadsWithItsFormatting)
{
    TempDir dir;
    dir.write(QStringLiteral("dopis.html"),
              "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>"
              "<p style=\"font-family:'DejaVu Serif'; font-size:14pt\"><b>Tučné</b> <i>kurzíva</i> "
              "<u>podtržené</u> <s>přeškrtnuté</s> <span style=\"color:#ff0000\">červené</span> Жук</p>"
              "<p align=\"center\">Na střed</p><p align=\"right\">Vpravo</p>"
              "<table border=\"1\"><tr><td>buňka A</td><td>buňka B</td></tr></table>"
              "<ul><li>první položka</li><li>druhá položka</li></ul>"
              "<p>Objem 25 m<sup>3</sup>, viz pozn.<sup>7</sup> o H<sub>9</sub>O.</p></body></html>");
    const QByteArray rtf = convertWithOffice(dir, QStringLiteral("dopis.html"), QStringLiteral("rtf"),
                                             QStringLiteral("HTML (StarWriter)"));
    ASSERT_TRUE(rtf::isRtf(rtf));
    test::keepFuzzSeed(rtf);

    QTextDocument document;
    ASSERT_TRUE(rtf::read(rtf, document));
    const QString text = document.toPlainText();
    for (const char* expected : {"Tučné kurzíva podtržené přeškrtnuté červené Жук", "Na střed", "Vpravo", "buňka A",
                                 "buňka B", "první položka", "druhá položka", "Objem 25 m3, viz pozn.7 o H9O."})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << " missing from:\n" << text.toStdString();

    EXPECT_EQ(test::formatOfRunHolding(document, QStringLiteral("Tučné")).fontWeight(), QFont::Bold);
    EXPECT_EQ(test::formatOfRunHolding(document, QStringLiteral("kurzíva")).fontWeight(), QFont::Normal);
    EXPECT_TRUE(test::formatOfRunHolding(document, QStringLiteral("kurzíva")).fontItalic());
    EXPECT_TRUE(test::formatOfRunHolding(document, QStringLiteral("podtržené")).fontUnderline());
    EXPECT_TRUE(test::formatOfRunHolding(document, QStringLiteral("přeškrtnuté")).fontStrikeOut());
    EXPECT_EQ(test::formatOfRunHolding(document, QStringLiteral("červené")).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(test::formatOfRunHolding(document, QStringLiteral("Tučné")).fontPointSize(), 14);
    EXPECT_EQ(test::formatOfRunHolding(document, QStringLiteral("Tučné")).fontFamilies().toStringList().value(0),
              QStringLiteral("DejaVu Serif"));
    // Writer raises and lowers with \\up and \\dn, not \\super and \\sub.
    for (const auto& [run, raised] : {std::pair{"3", QTextCharFormat::AlignSuperScript}, {"7", QTextCharFormat::AlignSuperScript},
                                      {"9", QTextCharFormat::AlignSubScript}, {"O.", QTextCharFormat::AlignNormal}})
        EXPECT_EQ(test::formatOfRunHolding(document, QString::fromUtf8(run)).verticalAlignment(), raised) << run;
    EXPECT_EQ(alignmentOf(document, QStringLiteral("Na střed")), Qt::AlignHCenter);
    EXPECT_EQ(alignmentOf(document, QStringLiteral("Vpravo")), Qt::AlignRight);
    EXPECT_FALSE(text.endsWith(u'\n'));
}

TEST(RtfFromOffice, WhatWeWriteWriterTakesWithItsFormatting)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("DejaVu Sans")});
    plain.setFontPointSize(12);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat red = plain;
    red.setForeground(QColor(255, 0, 0));
    red.setFontItalic(true);
    cursor.insertText(QStringLiteral("Vážený pane "), plain);
    cursor.insertText(QStringLiteral("Nováku"), bold);
    cursor.insertText(QStringLiteral(", Жук "), plain);
    cursor.insertText(QStringLiteral("červeně"), red);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred, plain);
    cursor.insertText(QStringLiteral("Na střed"), plain);

    TempDir dir;
    dir.write(QStringLiteral("snippet.rtf"), rtf::write(document));
    // The office wraps long lines of its HTML.
    const QString html =
        QString::fromUtf8(convertWithOffice(dir, QStringLiteral("snippet.rtf"), QStringLiteral("html"))).simplified();
    EXPECT_TRUE(html.contains(QStringLiteral("Vážený pane"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("<b>Nováku</b>"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("Жук"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("#ff0000"), Qt::CaseInsensitive)) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("<i>červeně</i>"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("align=\"center\""))) << html.toStdString();
}
