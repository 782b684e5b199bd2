#include "DocumentRuns.h"
#include "FuzzSeeds.h"
#include "rtf/Rtf.h"

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

using namespace vorlin;

TEST(RtfReader, ABodyWrittenOnWindows)
{
    const QByteArray body =
        "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1029{\\fonttbl{\\f0\\fswiss\\fcharset238 Tahoma;}"
        "{\\f1\\froman\\fcharset238{\\*\\fname Times New Roman;}Times New Roman CE;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs16 Mgr. Jan Nov\\'e1k, advok\\'e1t\\par\r\n"
        "\\b \\'c8esk\\'e1 \\b0 ulice 12\\par\r\n"
        "\\pard\\qc\\cf1\\f1\\fs24 110 00 Praha 1\\cf0\\par\r\n"
        "}\r\n\0";
    test::keepFuzzSeed(body);
    QTextDocument document;
    ASSERT_TRUE(rtf::read(body, document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("Mgr. Jan Novák, advokát\nČeská ulice 12\n110 00 Praha 1"));
    EXPECT_EQ(document.blockCount(), 3);
    EXPECT_EQ(test::formatOfRunHolding(document, QStringLiteral("Novák")).fontFamilies().toStringList().value(0),
              QStringLiteral("Tahoma"));
    EXPECT_EQ(test::formatOfRunHolding(document, QStringLiteral("Novák")).fontPointSize(), 8);
    EXPECT_EQ(test::formatOfRunHolding(document, QStringLiteral("Česká")).fontWeight(), QFont::Bold);
    EXPECT_EQ(test::formatOfRunHolding(document, QStringLiteral("ulice")).fontWeight(), QFont::Normal);
    const QTextCharFormat praha = test::formatOfRunHolding(document, QStringLiteral("Praha"));
    EXPECT_EQ(praha.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(praha.fontFamilies().toStringList().value(0), QStringLiteral("Times New Roman CE"));
    EXPECT_EQ(document.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST(RtfReader, CodePagesFollowTheFontsCharacterSet)
{
    struct Case {
        const char* rtf;
        QString text;
    };
    const Case cases[] = {
        {"{\\rtf1\\ansi\\ansicpg1250 \\'e8\\'f8}", QStringLiteral("čř")},
        {"{\\rtf1\\ansi \\'e8\\'f8}", QStringLiteral("èø")},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238 A;}}\\f0 \\'e8}", QStringLiteral("č")},
        {"{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset0 A;}}\\f0 \\'e8}", QStringLiteral("č")},
        {"{\\rtf1\\uc1 \\u269\\'3fx\\u-3913?}", QStringLiteral("čx\uF0B7")},
        {"{\\rtf1\\uc2 \\u269\\'3f\\'3fx}", QStringLiteral("čx")},
        {"{\\rtf1\\uc0 \\u269 x}", QStringLiteral("čx")},
        {"{\\rtf1 \\u269{\\'3f}x}", QStringLiteral("č?x")},  // a group ends the fallback
        {"{\\rtf1 a\\~b\\-c\\_d\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
         QStringLiteral("a\u00A0b\u00ADc\u2011d—–•‘’“”")},
        {"{\\rtf1 raw \xe8}", QStringLiteral("raw è")},
    };
    for (const Case& c : cases) {
        test::keepFuzzSeed(QByteArray(c.rtf));
        QTextDocument document;
        ASSERT_TRUE(rtf::read(QByteArray(c.rtf), document)) << c.rtf;
        EXPECT_EQ(document.toRawText(), c.text) << c.rtf;
    }
}

TEST(RtfReader, DestinationsThatAreNotTextAreSkipped)
{
    const QByteArray rtf =
        "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title Nazev}{\\author Autor}}"
        "{\\header hlavicka}{\\footer paticka}{\\*\\generator Nekdo;}{\\*\\neznamy skryto}"
        "{\\pict\\pngblip 89504e470d0a}{\\*\\bkmkstart z}{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt odkaz}}"
        " text\\bin5 {}\\} konec}";
    test::keepFuzzSeed(rtf);
    QTextDocument document;
    ASSERT_TRUE(rtf::read(rtf, document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("odkaz textkonec"));
}

TEST(RtfReader, TablesAndListsArriveAsTheirText)
{
    const QByteArray rtf =
        "{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\row"
        "\\trowd\\cellx1000\\cellx2000\\pard\\intbl\\cell C\\cell\\row\\pard"
        "{\\listtext\\pard\\plain  \\u8226\\'95\\tab}polozka\\par}";
    test::keepFuzzSeed(rtf);
    QTextDocument document;
    ASSERT_TRUE(rtf::read(rtf, document));
    // A row is a line, its cells apart by tabs; a label's leading blank goes.
    EXPECT_EQ(document.toPlainText(), QStringLiteral("A\tB\n\tC\n•\tpolozka"));
}

TEST(RtfReader, DetectionAndBrokenInput)
{
    struct Case {
        QByteArray input;
        bool readsAsRtf;
        QString text;
    };
    const Case cases[] = {
        {"plain {text} with braces", false, {}},
        {" {\\rtf1 leading blank}", false, {}},
        {"{\\rtf", false, {}},
        {"{\\rtf1{\\fonttbl", false, {}},
        {"{\\rtf1 truncated text", true, QStringLiteral("truncated text")},
        {"{\\rtf1 a}}}} extra", true, QStringLiteral("a")},
        {"{\\rtf1 a\\'zz\\'4", true, QStringLiteral("a")},
        {"{\\rtf1 \\u99999999999999999 x}", true, QString(QChar(0xFFFF))},
        {"{\\rtf1 \\fs-5 \\fs99999999999 \\bin999999999 x}", false, QString()},
        {"{\\rtf1\\pard\\plain\\f0\\fs20 }", true, QString()},
    };
    for (const Case& c : cases) {
        QTextDocument document;
        EXPECT_EQ(rtf::read(c.input, document), c.readsAsRtf) << c.input.toStdString();
        if (c.readsAsRtf)
            EXPECT_EQ(document.toPlainText(), c.text) << c.input.toStdString();
        else
            EXPECT_TRUE(document.isEmpty());
    }
}

TEST(RtfReader, DeepNestingAndGarbageStayBounded)
{
    QByteArray deep = "{\\rtf1 ";
    deep += QByteArray(200000, '{') + "x" + QByteArray(200000, '}');
    QTextDocument document;
    EXPECT_TRUE(rtf::read(deep, document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("x"));

    QRandomGenerator random(7);
    const char alphabet[] = "{}\\'*abfuc0123456789-; \r\n\xe8";
    for (int round = 0; round < 300; ++round) {
        QByteArray garbage = "{\\rtf1";
        const int length = random.bounded(1, 400);
        for (int i = 0; i < length; ++i)
            garbage.append(alphabet[random.bounded(int(sizeof alphabet) - 1)]);
        QTextDocument d;
        rtf::read(garbage, d);
        EXPECT_LE(d.characterCount(), garbage.size() + 1);
    }
}

TEST(RtfBody, PlainTextBodiesLoadAsPlainText)
{
    struct Case {
        QString body;
        QString shown;
    };
    const Case cases[] = {
        {QStringLiteral("Jan Novák\r\nDlouhá 5\r\n110 00 Praha"), QStringLiteral("Jan Novák\nDlouhá 5\n110 00 Praha")},
        {QStringLiteral("{rtf} není RTF"), QStringLiteral("{rtf} není RTF")},
        {QStringLiteral("{\\rtf"), QStringLiteral("{\\rtf")},
        {QStringLiteral("{\\rtf1 Novák}"), QStringLiteral("Novák")},
        {QStringLiteral("{\\rtf1\\ansicpg1250 ná\\'e8rt}"), QStringLiteral("náčrt")},
        {QString(), QString()},
    };
    for (const Case& c : cases) {
        QTextDocument document;
        rtf::loadBody(c.body, document);
        EXPECT_EQ(document.toPlainText(), c.shown) << c.body.toStdString();
    }
    QTextDocument document;
    rtf::loadBody(QStringLiteral("prostý text"), document);
    EXPECT_TRUE(rtf::bodyOf(document).startsWith(QStringLiteral("{\\rtf1")));
}
