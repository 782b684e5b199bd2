// The keyboard of GNOME and KDE: the RemoteDesktop portal's conversation, held
// with a stand-in portal on a private session bus, which writes down every call.
#include "platform/PortalKeyboard.h"
#include "support/TempDir.h"

#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

using namespace vorlin;
using namespace vorlin::test;

namespace {

class PortalKeyboard : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (QProcess* process : {&portal, &bus}) {
            process->kill();
            process->waitForFinished(3000);
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("portal-test"));
    }

    // A private bus with a portal that grants or refuses; the connection to it.
    QDBusConnection startPortal(const char* mode)
    {
        bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                  QStringLiteral("--print-address=1")});
        EXPECT_TRUE(bus.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(bus.readLine()).trimmed();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        portal.setProcessEnvironment(environment);
        portal.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral(VORLIN_FAKE_PORTAL), log(), QString::fromLatin1(mode)});
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls().contains(QStringLiteral("ready")); }, 10000))
            << portal.readAllStandardError().toStdString();
        return QDBusConnection::connectToBus(address, QStringLiteral("portal-test"));
    }

    QString log() const { return dir.file(QStringLiteral("portal.log")); }
    QString tokenFile() const { return dir.file(QStringLiteral("portal_klavesnice.txt")); }

    // The calls the portal received since "ready".
    QStringList calls() const
    {
        QFile file(log());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    TempDir dir;
    QProcess bus;
    QProcess portal;
};

}  // namespace

TEST_F(PortalKeyboard, OneSessionARunItsPermissionKeptForTheNextRun)
{
    const QDBusConnection connection = startPortal("grant");
    const QStringList ctrlV{"Key 65507 down", "Key 118 down", "Key 118 up", "Key 65507 up"};
    {
        platform::PortalKeyboard keyboard(tokenFile(), connection);
        ASSERT_TRUE(keyboard.offered());
        EXPECT_TRUE(keyboard.sendChord(Qt::Key_V, Qt::ControlModifier));
        EXPECT_TRUE(keyboard.sendChord(Qt::Key_V, Qt::ControlModifier));
    }
    const QStringList opening{"ready", "CreateSession", "SelectDevices types=1 persist_mode=2 restore_token=", "Start"};
    EXPECT_EQ(calls(), opening + ctrlV + ctrlV);
    QFile token(tokenFile());
    ASSERT_TRUE(token.open(QIODevice::ReadOnly));
    EXPECT_EQ(token.readAll(), "token-1");

    // The next run brings the token, so that the desktop need not ask.
    platform::PortalKeyboard nextRun(tokenFile(), connection);
    EXPECT_TRUE(nextRun.sendChord(Qt::Key_V, Qt::ControlModifier));
    EXPECT_TRUE(calls().contains(QStringLiteral("SelectDevices types=1 persist_mode=2 restore_token=token-1")));
}

TEST_F(PortalKeyboard, ARefusalTypesNothingAndIsNotAskedAgainInTheRun)
{
    const QDBusConnection connection = startPortal("refuse");
    platform::PortalKeyboard keyboard(tokenFile(), connection);
    EXPECT_FALSE(keyboard.sendChord(Qt::Key_V, Qt::ControlModifier));
    EXPECT_FALSE(keyboard.sendChord(Qt::Key_V, Qt::ControlModifier));
    EXPECT_EQ(calls(), (QStringList{"ready", "CreateSession", "SelectDevices types=1 persist_mode=2 restore_token=", "Start"}));
    EXPECT_FALSE(QFile::exists(tokenFile()));
}

TEST_F(PortalKeyboard, NoPortalOnTheBusIsNoWayToType)
{
    bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                              QStringLiteral("--print-address=1")});
    ASSERT_TRUE(bus.waitForReadyRead(5000));
    const QDBusConnection connection =
        QDBusConnection::connectToBus(QString::fromUtf8(bus.readLine()).trimmed(), QStringLiteral("portal-test"));
    EXPECT_FALSE(platform::PortalKeyboard(tokenFile(), connection).offered());
}
