#include "common/Win1250.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>

using namespace vorlin;

namespace {

// The C library's own Windows-1250 table, as an independent reference.
std::optional<char16_t> iconvToUnicode(unsigned char byte)
{
    iconv_t cd = iconv_open("UTF-16LE", "CP1250");
    if (cd == iconv_t(-1))
        return std::nullopt;
    char in[1] = {static_cast<char>(byte)};
    char out[4] = {};
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == size_t(-1) || outLeft != 2)
        return std::nullopt;
    return char16_t(static_cast<unsigned char>(out[0]) | (static_cast<unsigned char>(out[1]) << 8));
}

}  // namespace

TEST(Win1250, EveryByteDecodesAsTheCLibraryDecodesIt)
{
    int compared = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const auto reference = iconvToUnicode(static_cast<unsigned char>(byte));
        if (!reference)
            continue;
        ++compared;
        EXPECT_EQ(win1250::toUnicode(static_cast<unsigned char>(byte)), *reference) << "byte " << byte;
    }
    EXPECT_EQ(compared, 251);
}

TEST(Win1250, UnassignedBytesStandForTheirC1Controls)
{
    for (unsigned char byte : {0x81, 0x83, 0x88, 0x90, 0x98})
        EXPECT_EQ(win1250::toUnicode(byte), char16_t(byte));
}

TEST(Win1250, EveryByteRoundTrips)
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(static_cast<char>(byte));
    const QString text = win1250::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(win1250::encode(text), all);
}

TEST(Win1250, CzechTextEncodesToItsCodePageBytes)
{
    const QString text = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy – „Ě“");
    const QByteArray bytes = win1250::encode(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xF8);  // ř
    EXPECT_EQ(win1250::decode(bytes), text);
}

TEST(Win1250, CharactersWithoutACodeBecomeOneQuestionMarkEach)
{
    struct Case {
        QString text;
        QByteArray bytes;
    };
    const Case cases[] = {
        {QStringLiteral("ø"), "?"},
        {QStringLiteral("a☺b"), "a?b"},
        {QStringLiteral("😀"), "?"},          // outside the Basic Multilingual Plane
        {QStringLiteral("€"), "\x80"},
        {QStringLiteral("\u00A0"), "\xA0"},  // no-break space has its code
        {QString(QChar(0xD800)), "?"},       // a lone surrogate
    };
    for (const Case& c : cases)
        EXPECT_EQ(win1250::encode(c.text), c.bytes) << c.text.toStdString();
}
