#include "common/Error.h"
#include "common/TextFile.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vorlin;
using vorlin::test::TempDir;

TEST(SplitLines, EndsOfLineAndZeroCharacter)
{
    struct Case {
        QString text;
        QStringList lines;
    };
    const Case cases[] = {
        {QString(), {}},
        {QStringLiteral("a"), {QStringLiteral("a")}},
        {QStringLiteral("a\r\n"), {QStringLiteral("a")}},
        {QStringLiteral("a\r\nb"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\nb\n"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\rb\r"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\r\n\r\nb"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral("a\n\r\nb"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral("a\r\rb"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral("\r\n"), {QString()}},
        {QStringLiteral("\r\n\r\n"), {QString(), QString()}},
        {QStringLiteral(" a \r\n"), {QStringLiteral(" a ")}},
        {QStringLiteral("a\r\nb") + QChar(u'\0') + QStringLiteral("c\r\nd"),
         {QStringLiteral("a"), QStringLiteral("b")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitLines(c.text), c.lines) << c.text.toStdString();
}

TEST(ReadWholeFile, MissingFileGivesTheOpenErrorWithTheSystemsReason)
{
    TempDir dir;
    try {
        readWholeFile(dir.file(QStringLiteral("chybi.txt")));
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(dir.file("chybi.txt")));
    }
}

TEST(ReadWholeFile, AFolderIsReportedAsAFolder)
{
    TempDir dir;
    try {
        readWholeFile(dir.path());
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot open file \"%1\". Is a directory").arg(dir.path()));
    }
}

TEST(ReplaceFileContent, ReplacesTheWholeFile)
{
    TempDir dir;
    dir.write(QStringLiteral("f.txt"), "a much longer old content");
    ASSERT_TRUE(replaceFileContent(dir.file(QStringLiteral("f.txt")), "new"));
    EXPECT_EQ(dir.read(QStringLiteral("f.txt")), QByteArray("new"));
}

TEST(ReplaceFileContent, RefusesAReadOnlyFileAndKeepsIt)
{
    TempDir dir;
    dir.write(QStringLiteral("f.txt"), "old");
    const QString path = dir.file(QStringLiteral("f.txt"));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QString reason;
    EXPECT_FALSE(replaceFileContent(path, "new", &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(dir.read(QStringLiteral("f.txt")), QByteArray("old"));
}

TEST(ReplaceFileContent, RefusesAMissingFolder)
{
    TempDir dir;
    EXPECT_FALSE(replaceFileContent(dir.file(QStringLiteral("chybi/f.txt")), "new"));
}

TEST(TextFile, EveryLineBreakBecomesCrLf)
{
    const struct {
        QByteArray in, out;
    } cases[] = {
        {"", ""},
        {"a\r\nb", "a\r\nb"},
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n"},
        {"a\n\r\nb\r\r", "a\r\n\r\nb\r\n\r\n"},
        {QByteArray("a\0\nb", 4), QByteArray("a\0\r\nb", 5)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withCrLfLineEnds(c.in), c.out) << c.in.toStdString();
}
