#include "app/DataDirectory.h"
#include "app/DataFolderOwner.h"
#include "data/KindsFile.h"
#include "common/PrivateFiles.h"
#include "support/ForeignListener.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace vorlin;
using vorlin::test::kNobody;
using vorlin::test::TempDir;

TEST(DataDirFromAppData, CutsBeforeTheFirstRoaming)
{
    struct Case {
        const char* folder;
        const char* dataDir;
    };
    const QString exeDir = QStringLiteral("C:\\Program Files\\Vorlin\\");
    const Case cases[] = {
        {"C:\\Users\\user\\AppData\\Roaming", "C:\\Users\\user\\AppData\\Local\\Vorlin\\"},
        {"C:\\Users\\Roaming\\AppData\\Roaming", "C:\\Users\\Local\\Vorlin\\"},
        {"D:\\Profily\\Jan Novák\\AppData\\Roaming\\", "D:\\Profily\\Jan Novák\\AppData\\Local\\Vorlin\\"},
        {"Roaming", "C:\\Program Files\\Vorlin\\"},
        {"C:\\Documents and Settings\\user\\Application Data", "C:\\Program Files\\Vorlin\\"},
        {"C:\\Users\\user\\AppData\\roaming", "C:\\Program Files\\Vorlin\\"},
        {"", "C:\\Program Files\\Vorlin\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataDirFromAppData(QString::fromUtf8(c.folder), exeDir), QString::fromUtf8(c.dataDir)) << c.folder;
}

TEST(DataDirFromEnvironment, XdgDataHomeThenHomeThenExeDir)
{
    struct Case {
        const char* xdgDataHome;
        const char* home;
        const char* dataDir;
    };
    const QString exeDir = QStringLiteral("/opt/vorlin/");
    const Case cases[] = {
        {"/home/jan/.data", "/home/jan", "/home/jan/.data/Vorlin/"},
        {"/home/jan/.data/", "/home/jan", "/home/jan/.data/Vorlin/"},
        {"", "/home/jan", "/home/jan/.local/share/Vorlin/"},
        {"", "/home/Jan Novák/", "/home/Jan Novák/.local/share/Vorlin/"},
        {"relativni/cesta", "/home/jan", "/home/jan/.local/share/Vorlin/"},
        {"", "", "/opt/vorlin/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dataDirFromEnvironment(QString::fromUtf8(c.xdgDataHome), QString::fromUtf8(c.home), exeDir),
                  QString::fromUtf8(c.dataDir))
            << c.xdgDataHome << " | " << c.home;
    }
}

TEST(DataDirectory, ProcessExeDirIsTheTestProgramsFolder)
{
    const QString exeDir = processExeDir();
    EXPECT_TRUE(exeDir.endsWith(u'/'));
    EXPECT_EQ(QDir(exeDir).canonicalPath(), QDir(QCoreApplication::applicationDirPath()).canonicalPath());
}

class Seeding : public ::testing::Test {
protected:
    Seeding()
    {
        exe.write(QStringLiteral("vorlin.mdb"), "database");
        exe.write(QStringLiteral("vorlin_druh.txt"), "adresa\r\npetit\r\npodpis\r\n");
        exe.write(QStringLiteral("filtr_adres.txt"), "\\d{3} ?\\d{2}\r\n");
        paths.exeDir = exe.path();
        paths.dataDir = home.path() + QStringLiteral("Jan Novák/.local/share/Vorlin/");
        paths.filterDir = filterDirOf(paths.dataDir);
    }

    TempDir exe;
    TempDir home;
    Paths paths;
};

TEST_F(Seeding, FirstStartCreatesBothFoldersAndCopiesTheThreeFiles)
{
    seedDataDir(paths);
    EXPECT_TRUE(QFileInfo(paths.filterDir).isDir());
    for (const SeedFile& seed : seedFiles(paths)) {
        QFile target(seed.target);
        ASSERT_TRUE(target.open(QIODevice::ReadOnly)) << seed.target.toStdString();
        QFile source(seed.source);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        EXPECT_EQ(target.readAll(), source.readAll());
    }
    EXPECT_TRUE(QFileInfo::exists(paths.filterDir + QStringLiteral("filtr_adres.txt")));
    EXPECT_EQ(QDir(paths.dataDir).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no leftovers
}

TEST_F(Seeding, SecondStartCopiesNothingAndUserEditsSurvive)
{
    seedDataDir(paths);
    const QString kindsFile = kinds::filePath(paths.dataDir);
    kinds::save(kindsFile, {QStringLiteral("moje")});
    QFile::remove(paths.dataDir + QStringLiteral("vorlin.mdb"));
    exe.write(QStringLiteral("vorlin_druh.txt"), "jine\r\n");

    seedDataDir(paths);
    EXPECT_EQ(kinds::load(kindsFile), QStringList{QStringLiteral("moje")});
    // A deleted seed file comes back fresh.
    EXPECT_TRUE(QFileInfo::exists(paths.dataDir + QStringLiteral("vorlin.mdb")));
}

TEST_F(Seeding, ReadOnlySeedsGiveWritableCopies)
{
    QFile::setPermissions(exe.file(QStringLiteral("vorlin.mdb")), QFile::ReadOwner | QFile::ReadGroup);
    seedDataDir(paths);
    EXPECT_TRUE(QFile::permissions(paths.dataDir + QStringLiteral("vorlin.mdb")) & QFile::WriteOwner);
}

TEST_F(Seeding, DataDirEqualToExeDirCopiesOnlyTheFilterFile)
{
    TempDir bare;
    bare.write(QStringLiteral("filtr_adres.txt"), "x\r\n");
    Paths same{bare.path(), bare.path(), filterDirOf(bare.path())};
    seedDataDir(same);
    EXPECT_EQ(bare.read(QStringLiteral("hledani/filtr_adres.txt")), QByteArray("x\r\n"));
    EXPECT_FALSE(QFileInfo::exists(bare.file(QStringLiteral("vorlin.mdb"))));
    EXPECT_FALSE(QFileInfo::exists(bare.file(QStringLiteral("vorlin.mdb.part"))));
}

TEST_F(Seeding, ALinkIsNeverReplacedEvenWhenItsFileIsGone)
{
    QDir().mkpath(paths.dataDir);
    const QString database = paths.dataDir + QStringLiteral("vorlin.mdb");
    ASSERT_TRUE(QFile::link(home.file(QStringLiteral("sdilene/vorlin.mdb")), database));
    seedDataDir(paths);
    EXPECT_TRUE(QFileInfo(database).isSymLink());
    EXPECT_EQ(QFileInfo(database).symLinkTarget(), home.file(QStringLiteral("sdilene/vorlin.mdb")));
}

namespace {

// Whether another local user can open the file or list the folder.
bool anotherUserReads(const QString& path)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(2);
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        ::_exit(fd >= 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

mode_t permissionsOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

}  // namespace

TEST_F(Seeding, AnotherUserReadsNothingOfTheLibrary)
{
    // Under the usual mask, in a home folder open to others as useradd
    // makes it.
    const mode_t before = ::umask(022);
    ::chmod(QFile::encodeName(home.path()).constData(), 0755);
    QDir().mkpath(home.path() + QStringLiteral("Jan Novák/.local/share"));
    const QString outside = home.file(QStringLiteral("Jan Novák/sdileny.txt"));
    home.write(QStringLiteral("Jan Novák/sdileny.txt"), "ke čtení všem");
    struct Case {
        const char* name;
        std::function<void()> before;
    };
    const QList<Case> cases{
        {"a first start", [] {}},
        {"a folder an earlier version left open, with a link to a file outside",
         [&] {
             QDir().mkpath(paths.filterDir);
             QFile::copy(exe.file(QStringLiteral("vorlin.mdb")), paths.dataDir + QStringLiteral("vorlin.mdb"));
             QFile::copy(exe.file(QStringLiteral("vorlin.mdb")), paths.dataDir + QStringLiteral("knihovna_serveru.mdb"));
             QFile::link(outside, paths.dataDir + QStringLiteral("odkaz.txt"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(paths.dataDir).removeRecursively();
        c.before();
        keepNewFilesPrivate();
        seedDataDir(paths);
        EXPECT_EQ(permissionsOf(paths.dataDir), 0700u);
        EXPECT_EQ(permissionsOf(paths.filterDir), 0700u);
        EXPECT_EQ(permissionsOf(outside), 0644u) << "a link was followed";
        for (const QString& file : QDir(paths.dataDir).entryList(QDir::Files | QDir::NoSymLinks)) {
            EXPECT_EQ(permissionsOf(paths.dataDir + file), 0600u) << file.toStdString();
            if (::geteuid() == 0) {
                EXPECT_FALSE(anotherUserReads(paths.dataDir + file)) << file.toStdString();
            }
        }
        // What the program writes later is the user's alone too.
        home.write(QStringLiteral("Jan Novák/.local/share/Vorlin/nastaveni.ini"), "[nastaveni]\r\n");
        EXPECT_EQ(permissionsOf(paths.dataDir + QStringLiteral("nastaveni.ini")), 0600u);
        ::umask(022);
    }
    if (::geteuid() == 0) {
        EXPECT_TRUE(anotherUserReads(outside)) << "the test's own check reads nothing";
    }
    ::umask(before);
}

TEST(DataDirectory, AFolderNameThatIsNotUtf8IsUsedByItsBytes)
{
    TempDir home;
    const QByteArray native = QFile::encodeName(home.path()) + "Nov\xe1k (1250)";  // Windows-1250 "á"
    const QByteArray savedXdg = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", native);
    const Paths paths = startupPaths();
    qputenv("XDG_DATA_HOME", savedXdg);
    if (savedXdg.isNull())
        qunsetenv("XDG_DATA_HOME");

    EXPECT_FALSE(paths.dataDir.contains(QChar::ReplacementCharacter)) << paths.dataDir.toStdString();
    seedDataDir(paths);
    QFile file(paths.dataDir + QStringLiteral("nastaveni.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[nastaveni]\r\n");
    file.close();
    struct stat info {};
    EXPECT_EQ(::stat((native + "/Vorlin/nastaveni.ini").constData(), &info), 0);
    EXPECT_EQ(::stat((native + "/Vorlin/hledani").constData(), &info), 0);
}

// A data folder, library or settings file that another user owns or can
// write is refused, with the path named; a folder the program makes, or
// one of the user's own that an earlier version left open, is used.
TEST_F(Seeding, AFolderOrFileOfAnotherUserIsRefused)
{
    const QString share = home.path() + QStringLiteral("Jan Novák/.local/share");
    const QString elsewhere = home.file(QStringLiteral("cizi.mdb"));  // the library links here
    const QString settings = paths.dataDir + QStringLiteral("nastaveni.ini");
    struct Case {
        const char* name;
        QString path;  // made so
        mode_t mode;
        bool foreign;      // given to another user (as root only)
        const char* said;  // a part of the refusal; empty: used
    };
    const Case cases[] = {
        {"a folder of the user's own left open", paths.dataDir, 0777, false, ""},
        {"a parent open to all as /tmp", share, 01777, false, ""},
        {"a parent of the user's own open to all", share, 0777, false, "share“ může zapisovat i jiný uživatel"},
        {"a parent of another user", share, 0755, true, "share“ vlastní jiný uživatel"},
        {"the data folder of another user", paths.dataDir, 0700, true, "Vorlin“ vlastní jiný uživatel"},
        {"the library a link to another user's file", elsewhere, 0600, true, "vorlin.mdb“ vlastní jiný uživatel"},
        {"the settings another user's file", settings, 0600, true, "nastaveni.ini“ vlastní jiný uživatel"},
        {"the library a link to the user's closed file", elsewhere, 0600, false, ""},
        {"the library a link to a file others can write", elsewhere, 0666, false, "Do souboru „"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.foreign && ::geteuid() != 0)
            continue;
        QDir(home.path()).removeRecursively();
        QDir().mkpath(paths.dataDir);
        QFile(c.path).open(QIODevice::WriteOnly);  // a file where a case names one; folders stay
        if (c.path == elsewhere)
            QFile::link(elsewhere, paths.dataDir + QStringLiteral("vorlin.mdb"));
        ::chmod(QFile::encodeName(c.path).constData(), c.mode);
        if (c.foreign)
            ASSERT_EQ(::chown(QFile::encodeName(c.path).constData(), kNobody, kNobody), 0);
        const QString refusal = dataFolderRefusal(paths, ::geteuid(), ::getegid());
        EXPECT_EQ(refusal.isEmpty(), !*c.said) << refusal.toStdString();
        EXPECT_TRUE(refusal.contains(QString::fromUtf8(c.said))) << refusal.toStdString();
    }
}
