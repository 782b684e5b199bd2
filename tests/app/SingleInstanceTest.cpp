// The single-copy socket against another local user: where it lives, and
// that a listener of another user never receives the request.
#include "app/SingleInstance.h"
#include "support/ForeignListener.h"
#include "support/TempDir.h"

#include <QSignalSpy>

#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorlin;
using namespace vorlin::test;

namespace {

// Sets an environment variable for the scope, or removes it (null).
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const QByteArray* value) : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name))
    {
        value ? qputenv(name, *value) : qunsetenv(name);
    }
    ~EnvironmentValue() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

mode_t modeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

}  // namespace

TEST(SingleInstance, TheSocketLivesOnlyWhereNoOtherUserCanReach)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "another user's files need root to be made";
    struct Place {
        const char* name;
        std::function<void(const QString& temp, QByteArray& runtime)> plant;
        bool usable;
    };
    const QList<Place> places{
        {"no runtime folder: a folder of the user's own is made", [](const QString&, QByteArray&) {}, true},
        {"a runtime folder open to others is not used",
         [](const QString& temp, QByteArray& runtime) {
             runtime = QFile::encodeName(temp + QStringLiteral("open"));
             ::mkdir(runtime.constData(), 0777);
             ::chmod(runtime.constData(), 0777);
         },
         true},
        {"the folder taken by another user first",
         [](const QString& temp, QByteArray&) {
             const QByteArray own = QFile::encodeName(temp + QStringLiteral("vorlin-%1").arg(::geteuid()));
             ::mkdir(own.constData(), 0700);
             ASSERT_EQ(::chown(own.constData(), kNobody, kNobody), 0);
         },
         false},
        {"a link planted in the folder's place",
         [](const QString& temp, QByteArray&) {
             const QByteArray target = QFile::encodeName(temp + QStringLiteral("cil"));
             ::mkdir(target.constData(), 0700);
             ASSERT_EQ(::symlink(target.constData(), QFile::encodeName(temp + QStringLiteral("vorlin-%1").arg(::geteuid())).constData()), 0);
         },
         false},
        {"a plain file planted in the folder's place",
         [](const QString& temp, QByteArray&) {
             QFile planted(temp + QStringLiteral("vorlin-%1").arg(::geteuid()));
             ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
         },
         false},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        TempDir temp;
        ::chmod(QFile::encodeName(temp.path()).constData(), 01777);
        QByteArray runtime;
        place.plant(temp.path(), runtime);
        const QByteArray tempPath = temp.path().toUtf8();
        const EnvironmentValue tmpdir("TMPDIR", &tempPath);
        const EnvironmentValue runtimeDir("XDG_RUNTIME_DIR", runtime.isEmpty() ? nullptr : &runtime);
        const QString name = SingleInstance::defaultName();
        SingleInstance copy(name);
        EXPECT_EQ(copy.listen(), place.usable) << name.toStdString();
        if (!place.usable) {
            EXPECT_TRUE(name.isEmpty()) << name.toStdString();
            continue;
        }
        const QString folder = QFileInfo(name).path();
        EXPECT_EQ(folder, temp.path() + QStringLiteral("vorlin-%1").arg(::geteuid()));
        EXPECT_EQ(modeOf(folder), mode_t(0700));
        QSignalSpy shown(&copy, &SingleInstance::showRequested);
        QSignalSpy quick(&copy, &SingleInstance::quickInsertRequested);
        EXPECT_TRUE(SingleInstance(name).handOverToRunningCopy());
        EXPECT_TRUE(shown.wait(2000));
        EXPECT_TRUE(SingleInstance(name).handOverToRunningCopy(SingleInstance::Request::QuickInsert));
        EXPECT_TRUE(quick.wait(2000));
        EXPECT_EQ(shown.size(), 1);
    }
}

TEST(SingleInstance, AListenerOfAnotherUserIsNeverToldAnything)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a process of another user needs root to be started";
    TempDir temp;
    ::chmod(QFile::encodeName(temp.path()).constData(), 0777);
    const QString name = temp.path() + QStringLiteral("vorlin-socket");
    ForeignListener stranger(name);
    ASSERT_TRUE(QFile::exists(name));
    EXPECT_FALSE(SingleInstance(name).handOverToRunningCopy(SingleInstance::Request::Show, 500));
    ::usleep(100000);
    EXPECT_NE(stranger.status(), 42) << "the other user's process received the request";
}
