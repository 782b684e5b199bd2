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
