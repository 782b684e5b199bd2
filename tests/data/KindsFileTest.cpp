#include "common/Error.h"
#include "data/KindsFile.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vorlin;
using vorlin::test::TempDir;

TEST(KindsFile, LoadTakesLinesVerbatim)
{
    struct Case {
        QByteArray bytes;
        QStringList kinds;
    };
    const Case cases[] = {
        {"adresa\r\npetit\r\npodpis\r\n", {"adresa", "petit", "podpis"}},
        {"adresa\r\n\r\npodpis", {"adresa", "", "podpis"}},
        {"adresa\rpetit\r", {"adresa", "petit"}},
        {"adresa\npetit", {"adresa", "petit"}},
        {" s mezerou \r\n", {" s mezerou "}},
        {QByteArray("adresa\r\npe\0tit\r\npodpis\r\n", 24), {"adresa", "pe"}},
        {"", {}},
        {"\xe8\x65sk\xfd", {QStringLiteral("český")}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        dir.write(QStringLiteral("vorlin_druh.txt"), c.bytes);
        EXPECT_EQ(kinds::load(kinds::filePath(dir.path())), c.kinds) << c.bytes.toStdString();
    }
}

TEST(KindsFile, SaveEndsEveryLineWithCrLfAndLoadsBack)
{
    TempDir dir;
    const QStringList kinds = {QStringLiteral("adresa"), QString(), QStringLiteral("žaloba"), QStringLiteral(" x ")};
    kinds::save(dir.file(QStringLiteral("k.txt")), kinds);
    EXPECT_EQ(dir.read(QStringLiteral("k.txt")), QByteArray("adresa\r\n\r\n\x9e\x61loba\r\n x \r\n"));
    EXPECT_EQ(kinds::load(dir.file(QStringLiteral("k.txt"))), kinds);
}

TEST(KindsFile, MissingFileRaisesTheOpenError)
{
    TempDir dir;
    const QString path = kinds::filePath(dir.path());
    try {
        kinds::load(path);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(path));
    }
}

TEST(KindsFile, RefusedSaveRaisesAndKeepsTheFile)
{
    TempDir dir;
    dir.write(QStringLiteral("k.txt"), "stary\r\n");
    QFile::setPermissions(dir.file(QStringLiteral("k.txt")), QFile::ReadOwner);
    EXPECT_THROW(kinds::save(dir.file(QStringLiteral("k.txt")), {QStringLiteral("novy")}), FileError);
    EXPECT_EQ(dir.read(QStringLiteral("k.txt")), QByteArray("stary\r\n"));
}

TEST(KindsFile, ChoicesPutAnEmptyEntryFirst)
{
    EXPECT_EQ(kinds::choicesWithEmptyFirst({"a", "", "b"}), (QStringList{"", "a", "", "b"}));
    EXPECT_EQ(kinds::initialKinds(), (QStringList{"adresa", "petit", "podpis"}));
}
