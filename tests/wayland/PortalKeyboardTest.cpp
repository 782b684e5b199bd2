// The keyboard of GNOME and KDE: the RemoteDesktop portal's conversation, held
// with a stand-in portal on a private session bus, which writes down every call.
#include "StandInPortal.h"
#include "platform/PortalKeyboard.h"

using namespace vorlin;
using namespace vorlin::test;

namespace {

class PortalKeyboard : public StandInPortal {
protected:
    QDBusConnection startPortal(const char* mode) { return StandInPortal::startPortal(VORLIN_FAKE_PORTAL, mode); }
    QString tokenFile() const { return dir.file(QStringLiteral("portal_klavesnice.txt")); }
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
