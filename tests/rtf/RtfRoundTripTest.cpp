#include "FuzzSeeds.h"
#include "rtf/Rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

#include <functional>

using namespace vorlin;

namespace {

QTextCharFormat baseFormat()
{
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("DejaVu Sans")});
    format.setFontPointSize(10);
    format.setFontWeight(QFont::Normal);
    format.setFontItalic(false);
    format.setFontUnderline(false);
    format.setFontStrikeOut(false);
    return format;
}

// What a run looks like, attribute by attribute, for comparisons.
struct Run {
    QString text;
    QString family;
    qreal points;
    bool bold, italic, underline, strike;
    QString color, highlight;
    bool operator==(const Run&) const = default;
};

struct Paragraph {
    QList<Run> runs;
    int alignment;
    int left, right, first, before, after;
    bool operator==(const Paragraph&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Paragraph& p)
{
    os << "[align " << p.alignment << " li " << p.left << " ri " << p.right << " fi " << p.first << " sb "
       << p.before << " sa " << p.after << "]";
    for (const Run& r : p.runs)
        os << " {" << r.text.toStdString() << "|" << r.family.toStdString() << " " << r.points << (r.bold ? " b" : "")
           << (r.italic ? " i" : "") << (r.underline ? " u" : "") << (r.strike ? " s" : "") << " "
           << r.color.toStdString() << " " << r.highlight.toStdString() << "}";
    return os;
}

QList<Paragraph> describe(const QTextDocument& document)
{
    QList<Paragraph> paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        Paragraph p{{},
                    int(bf.alignment() & Qt::AlignHorizontal_Mask),
                    int(bf.leftMargin()),
                    int(bf.rightMargin()),
                    int(bf.textIndent()),
                    int(bf.topMargin()),
                    int(bf.bottomMargin())};
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QStringList families = f.fontFamilies().toStringList();
            p.runs.append({it.fragment().text(), families.value(0), f.fontPointSize(), f.fontWeight() >= QFont::DemiBold,
                           f.fontItalic(), f.fontUnderline(), f.fontStrikeOut(),
                           f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name() : QString(),
                           f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color().name() : QString()});
        }
        paragraphs.append(p);
    }
    return paragraphs;
}

void expectRoundTrip(const QTextDocument& original, const char* what)
{
    const QByteArray rtf = rtf::write(original);
    test::keepFuzzSeed(rtf);
    for (const char c : rtf)
        ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << what << ": not 7-bit: " << rtf.toStdString();
    QTextDocument back;
    ASSERT_TRUE(rtf::read(rtf, back)) << what;
    const auto expected = describe(original);
    const auto actual = describe(back);
    ASSERT_EQ(actual.size(), expected.size()) << what << "\n" << rtf.toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]) << what << " paragraph " << i << "\n" << rtf.toStdString();
}

}  // namespace

TEST(RtfRoundTrip, EveryCharacterAttributeAloneAndMixedInOneParagraph)
{
    struct Attribute {
        const char* name;
        std::function<void(QTextCharFormat&)> apply;
    };
    const Attribute attributes[] = {
        {"face", [](QTextCharFormat& f) { f.setFontFamilies({QStringLiteral("Times New Roman")}); }},
        {"size", [](QTextCharFormat& f) { f.setFontPointSize(13.5); }},
        {"bold", [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); }},
        {"italic", [](QTextCharFormat& f) { f.setFontItalic(true); }},
        {"underline", [](QTextCharFormat& f) { f.setFontUnderline(true); }},
        {"strike-out", [](QTextCharFormat& f) { f.setFontStrikeOut(true); }},
        {"colour", [](QTextCharFormat& f) { f.setForeground(QColor(0xC0, 0x80, 0x00)); }},
        {"highlight", [](QTextCharFormat& f) { f.setBackground(QColor(255, 255, 0)); }},
        {"superscript", [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); }},
        {"subscript", [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); }},
    };
    for (const Attribute& attribute : attributes) {
        QTextDocument document;
        QTextCursor cursor(&document);
        QTextCharFormat format = baseFormat();
        attribute.apply(format);
        cursor.insertText(QStringLiteral("před "), baseFormat());
        cursor.insertText(QStringLiteral("formátováno"), format);
        cursor.insertText(QStringLiteral(" po"), baseFormat());
        expectRoundTrip(document, attribute.name);
    }

    QTextDocument mixed;
    QTextCursor cursor(&mixed);
    QTextCharFormat all = baseFormat();
    for (const Attribute& attribute : attributes) {
        QTextCharFormat one = baseFormat();
        attribute.apply(one);
        attribute.apply(all);
        cursor.insertText(QString::fromUtf8(attribute.name) + u' ', one);
    }
    cursor.insertText(QStringLiteral("vše"), all);
    expectRoundTrip(mixed, "mixed");
}

TEST(RtfRoundTrip, AlignmentIndentsAndSpacing)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};
    bool first = true;
    for (const Qt::Alignment alignment : alignments) {
        QTextBlockFormat block;
        block.setAlignment(alignment);
        block.setLeftMargin(first ? 0 : 20);
        block.setRightMargin(first ? 0 : 10);
        block.setTextIndent(first ? 0 : -8);
        block.setTopMargin(first ? 0 : 4);
        block.setBottomMargin(first ? 0 : 6);
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block, baseFormat());
        cursor.insertText(QStringLiteral("Odstavec zarovnaný"), baseFormat());
        first = false;
    }
    expectRoundTrip(document, "alignment");
}

TEST(RtfRoundTrip, CzechAndOtherScripts)
{
    struct Case {
        const char* name;
        QString text;
        const char* mustContain;
    };
    const Case cases[] = {
        {"Czech through \\'xx", QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy"), "P\\'f8\\'edli\\'9a"},
        {"others through \\u", QStringLiteral("Жук αβγ ł → ☺"), "\\u1046?"},
        {"outside the plane", QStringLiteral("smajlík 😀"), "\\u-10179?\\u-8704?"},
        {"RTF's own characters", QStringLiteral("a\\b{c}d\ttab"), "a\\\\b\\{c\\}d\\tab tab"},
        {"special spaces", QStringLiteral("a\u00A0b\u2011c"), "a\\~b\\_c"},
        {"line break in a paragraph", QStringLiteral("první") + QChar(QChar::LineSeparator) + QStringLiteral("druhá"),
         "\\line "},
    };
    for (const Case& c : cases) {
        QTextDocument document;
        QTextCursor(&document).insertText(c.text, baseFormat());
        const QByteArray rtf = rtf::write(document);
        EXPECT_TRUE(rtf.contains(c.mustContain)) << c.name << ": " << rtf.toStdString();
        expectRoundTrip(document, c.name);
    }
}

TEST(RtfRoundTrip, EmptyParagraphsKeepTheirPlaceAndFont)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat big = baseFormat();
    big.setFontPointSize(16);
    cursor.setBlockCharFormat(big);
    cursor.insertBlock(QTextBlockFormat(), baseFormat());
    cursor.insertText(QStringLiteral("text"), baseFormat());
    cursor.insertBlock(QTextBlockFormat(), big);
    expectRoundTrip(document, "empty paragraphs");

    QTextDocument back;
    ASSERT_TRUE(rtf::read(rtf::write(document), back));
    EXPECT_EQ(back.blockCount(), 3);
    EXPECT_EQ(back.begin().charFormat().fontPointSize(), 16);
}

TEST(RtfRoundTrip, AnEmptyDocumentIsValidRtf)
{
    QTextDocument empty;
    const QByteArray rtf = rtf::write(empty);
    QTextDocument back;
    EXPECT_TRUE(rtf::read(rtf, back));
    EXPECT_TRUE(back.isEmpty());
}
