#include "support/TempDir.h"
#include "ui/settings/FolderCopy.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vorlin;
using vorlin::test::TempDir;

TEST(FolderCopy, AFileStoppedHalfWayLeavesNothingUnderItsName)
{
    TempDir source;
    TempDir target;
    source.write(QStringLiteral("a.txt"), "malý");
    source.write(QStringLiteral("velky.bin"), QByteArray(12 * 1024 * 1024, 'x'));  // three pieces
    source.write(QStringLiteral("hledani/filtr.txt"), "\\d+");
    FolderCopy copy;
    int pieces = 0;
    copy.progress = [&pieces](qint64, qint64) { return ++pieces < 3; };  // as a full disk or a cancel would
    EXPECT_FALSE(copy.copy(source.path(), target.path()));
    EXPECT_FALSE(copy.error().isEmpty());
    EXPECT_FALSE(QFile::exists(target.file(QStringLiteral("velky.bin"))));
    EXPECT_TRUE(QDir(target.path()).entryList({QStringLiteral("*.vorlin-part")}, QDir::Files).isEmpty());
    EXPECT_EQ(target.read(QStringLiteral("a.txt")), QByteArray("malý"));  // copied whole before the stop

    copy.progress = [](qint64, qint64) { return true; };
    copy.askReplace = [](const QString&) { return FolderCopy::Answer::YesToAll; };
    EXPECT_TRUE(copy.copy(source.path(), target.path()));
    EXPECT_EQ(target.read(QStringLiteral("velky.bin")).size(), 12 * 1024 * 1024);
    EXPECT_EQ(target.read(QStringLiteral("hledani/filtr.txt")), QByteArray("\\d+"));
}

TEST(FolderCopy, AFileGoneSinceTheListingIsNoFailureAndOneLeftOutStaysBehind)
{
    TempDir source;
    TempDir target;
    source.write(QStringLiteral("a.mdb"), "databáze");
    source.write(QStringLiteral("a.mdb-journal"), "deník");
    source.write(QStringLiteral("b.txt"), "prchavý");
    FolderCopy copy;
    copy.leaveOut = [](const QString& file) { return file.endsWith(QStringLiteral("-journal")); };
    // Another program removes a file while the copy goes: before "b.txt" is reached.
    copy.copySpecial = [&](const QString& file, const QString&) {
        if (file.endsWith(QStringLiteral("a.mdb")))
            QFile::remove(source.file(QStringLiteral("b.txt")));
        return false;
    };
    EXPECT_TRUE(copy.copy(source.path(), target.path())) << copy.error().toStdString();
    EXPECT_EQ(target.read(QStringLiteral("a.mdb")), QByteArray("databáze"));
    EXPECT_FALSE(QFile::exists(target.file(QStringLiteral("a.mdb-journal"))));
    EXPECT_FALSE(QFile::exists(target.file(QStringLiteral("b.txt"))));
}
