#include "common/Error.h"
#include "data/Color.h"
#include "data/FontText.h"

#include <QFontInfo>
#include <QGuiApplication>

#include <gtest/gtest.h>

using namespace vorlin;
using namespace vorlin::colors;

namespace {

Font makeFont(const QString& face, int size, FontStyles styles, Color color)
{
    Font font;
    font.face = face;
    font.size = size;
    font.styles = styles;
    font.color = color;
    return font;
}

// A font whose every attribute differs from what the tests read into it.
Font untouched()
{
    return makeFont(QStringLiteral("Untouched"), 99, FontStyle::Strikeout, clLime);
}

}  // namespace

TEST(FontSpec, WriterGivesTheTextForm)
{
    struct Case {
        Font font;
        const char* text;
    };
    const Case cases[] = {
        {makeFont("Tahoma", 8, {}, clWindowText), "\"Tahoma\", 8, [], [clWindowText]"},
        {makeFont("Arial", 12, FontStyle::Bold | FontStyle::Italic, clMaroon),
         "\"Arial\", 12, [Bold|Italic], [clMaroon]"},
        {makeFont("Times New Roman", 10, FontStyle::Strikeout | FontStyle::Underline, 0x00C08000),
         "\"Times New Roman\", 10, [Underline|Strikeout], [$00C08000]"},
        {makeFont("X", 9, FontStyle::Bold | FontStyle::Italic | FontStyle::Underline | FontStyle::Strikeout, clNone),
         "\"X\", 9, [Bold|Italic|Underline|Strikeout], [clNone]"},
        {makeFont("X", 9, {}, systemColor(25)), "\"X\", 9, [], [$FF000019]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fontSpecText(c.font), QString::fromUtf8(c.text));
}

TEST(FontSpec, EveryStyleCombinationAndColourRoundTrips)
{
    const Color colours[] = {clBlack, clRed,    clWhite,   0xC0DCC0,  clWindowText, clHighlight,
                             clNone,  clDefault, 0x00C08000, 0x00123456, systemColor(30)};
    for (int styleBits = 0; styleBits < 16; ++styleBits) {
        for (const Color colour : colours) {
            for (const char* face : {"Žluťoučký font", "DejaVu Sans, Condensed", "A,B"}) {
                const Font written = makeFont(QString::fromUtf8(face), 5 + styleBits, FontStyles::fromInt(styleBits), colour);
                Font read = untouched();
                readFontSpec(fontSpecText(written), read);
                EXPECT_EQ(read, written) << fontSpecText(written).toStdString();
            }
        }
    }
}

TEST(FontSpec, EmptyStylesGiveAFontWithoutStyles)
{
    Font font = untouched();
    font.styles = FontStyle::Bold | FontStyle::Italic;
    readFontSpec(u"\"Arial\", 12, [], [clRed]", font);
    EXPECT_EQ(font.styles, FontStyles());
}

TEST(FontSpec, ColourNamesIgnoreLetterCase)
{
    for (const QStringView text : {u"\"A\", 8, [], [clwindowtext]", u"\"A\", 8, [], [CLWINDOWTEXT]"}) {
        Font font = untouched();
        readFontSpec(text, font);
        EXPECT_EQ(font.color, clWindowText);
    }
}

TEST(FontSpec, TheDefaultWordTahomaChangesNothing)
{
    Font font = untouched();
    EXPECT_THROW(readFontSpec(u"tahoma", font), ConvertError);
    EXPECT_EQ(font, untouched());
}

TEST(FontSpec, AFailingStepLeavesTheEarlierAttributesSet)
{
    struct Case {
        const char* text;
        Font expected;
    };
    const Case cases[] = {
        // size fails: only the face is set
        {"\"Arial\", x, [Bold], [clRed]", makeFont("Arial", 99, FontStyle::Strikeout, clLime)},
        {"\"Arial\", , [Bold], [clRed]", makeFont("Arial", 99, FontStyle::Strikeout, clLime)},
        // colour fails: face and size are set, styles are not
        {"\"Arial\", 12, [Bold], [clRudy]", makeFont("Arial", 12, FontStyle::Strikeout, clLime)},
        {"\"Arial\", 12, [Bold]", makeFont("Arial", 12, FontStyle::Strikeout, clLime)},
    };
    for (const Case& c : cases) {
        Font font = untouched();
        EXPECT_THROW(readFontSpec(QString::fromUtf8(c.text), font), ConvertError) << c.text;
        EXPECT_EQ(font, c.expected) << c.text;
    }
}

TEST(FontSpec, ReaderTakesPiecesByPositionAsTheFormLaysThemOut)
{
    struct Case {
        const char* text;
        Font expected;
    };
    const Case cases[] = {
        // an empty face leaves the face alone
        {"\"\", 10, [Italic], [clBlue]", makeFont("Untouched", 10, FontStyle::Italic, clBlue)},
        // a number instead of a colour name; "$" for hexadecimal sizes too
        {"\"A\", $10, [], [255]", makeFont("A", 16, {}, 255)},
        // style words are case-sensitive substrings of "|" + the bracket text
        {"\"A\", 8, [bold|Italic], [clRed]", makeFont("A", 8, FontStyle::Italic, clRed)},
        {"\"A\", 8, [Italic|Bold], [clRed]", makeFont("A", 8, FontStyle::Italic | FontStyle::Bold, clRed)},
    };
    for (const Case& c : cases) {
        Font font = untouched();
        readFontSpec(QString::fromUtf8(c.text), font);
        EXPECT_EQ(font, c.expected) << c.text;
    }
}

TEST(FontSpec, FacesAreCutTo31Characters)
{
    Font font = untouched();
    readFontSpec(u"\"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\", 8, [], [clRed]", font);
    EXPECT_EQ(font.face, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"));
}

TEST(Color, EveryNameMapsToItsValueAndBack)
{
    struct Case {
        const char* name;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"clBlack", 0x000000},         {"clMaroon", 0x000080},        {"clGreen", 0x008000},
        {"clOlive", 0x008080},         {"clNavy", 0x800000},          {"clPurple", 0x800080},
        {"clTeal", 0x808000},          {"clGray", 0x808080},          {"clSilver", 0xC0C0C0},
        {"clRed", 0x0000FF},           {"clLime", 0x00FF00},          {"clYellow", 0x00FFFF},
        {"clBlue", 0xFF0000},          {"clFuchsia", 0xFF00FF},       {"clAqua", 0xFFFF00},
        {"clWhite", 0xFFFFFF},         {"clMoneyGreen", 0xC0DCC0},    {"clSkyBlue", 0xF0CAA6},
        {"clCream", 0xF0FBFF},         {"clMedGray", 0xA4A0A0},       {"clScrollBar", 0xFF000000},
        {"clBackground", 0xFF000001},  {"clActiveCaption", 0xFF000002}, {"clInactiveCaption", 0xFF000003},
        {"clMenu", 0xFF000004},        {"clWindow", 0xFF000005},      {"clWindowFrame", 0xFF000006},
        {"clMenuText", 0xFF000007},    {"clWindowText", 0xFF000008},  {"clCaptionText", 0xFF000009},
        {"clActiveBorder", 0xFF00000A}, {"clInactiveBorder", 0xFF00000B}, {"clAppWorkSpace", 0xFF00000C},
        {"clHighlight", 0xFF00000D},   {"clHighlightText", 0xFF00000E}, {"clBtnFace", 0xFF00000F},
        {"clBtnShadow", 0xFF000010},   {"clGrayText", 0xFF000011},    {"clBtnText", 0xFF000012},
        {"clInactiveCaptionText", 0xFF000013}, {"clBtnHighlight", 0xFF000014}, {"cl3DDkShadow", 0xFF000015},
        {"cl3DLight", 0xFF000016},     {"clInfoText", 0xFF000017},    {"clInfoBk", 0xFF000018},
        {"clHotLight", 0xFF00001A},    {"clGradientActiveCaption", 0xFF00001B},
        {"clGradientInactiveCaption", 0xFF00001C}, {"clMenuHighlight", 0xFF00001D},
        {"clMenuBar", 0xFF00001E},     {"clNone", 0x1FFFFFFF},        {"clDefault", 0x20000000},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(colorFromName(name), std::optional<Color>(Color(c.value))) << c.name;
        EXPECT_EQ(colorToText(Color(c.value)), name);
    }
}

TEST(Color, PlainColoursMapOntoRedGreenBlue)
{
    EXPECT_EQ(toQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0x00C08000), QColor(0x00, 0x80, 0xC0));
    EXPECT_EQ(fromQColor(QColor(0x00, 0x80, 0xC0)), Color(0x00C08000));
    EXPECT_FALSE(toQColor(clDefault).isValid());
    QPalette palette;
    palette.setColor(QPalette::Text, QColor(1, 2, 3));
    EXPECT_EQ(toQColor(clWindowText, palette), QColor(1, 2, 3));
}

TEST(Font, MapsOntoQFontAndBack)
{
    const Font font = makeFont("DejaVu Sans", 12, FontStyle::Bold | FontStyle::Underline, clRed);
    const QFont qfont = font.toQFont();
    EXPECT_EQ(qfont.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(qfont.pointSize(), 12);
    EXPECT_TRUE(qfont.bold());
    EXPECT_FALSE(qfont.italic());
    EXPECT_TRUE(qfont.underline());
    EXPECT_EQ(Font::fromQFont(qfont, clRed), font);
}

TEST(Font, PlatformDefaultIsEightPointsWindowTextWithoutStyle)
{
    const Font font = Font::platformDefault();
    EXPECT_FALSE(font.face.isEmpty());
    EXPECT_NE(font.face, QStringLiteral("Sans Serif")) << "a generic name instead of a real face";
    EXPECT_EQ(font.face, QFontInfo(QGuiApplication::font()).family());
    EXPECT_EQ(font.size, 8);
    EXPECT_EQ(font.styles, FontStyles());
    EXPECT_EQ(font.color, clWindowText);
}
