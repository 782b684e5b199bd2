// The global shortcut of KDE, GNOME and other Wayland desktops: the
// GlobalShortcuts portal's conversation, held with a stand-in portal on a
// private session bus, which writes down every call and can press the keys.
#include "StandInPortal.h"
#include "platform/PortalGlobalShortcut.h"

#include <QDBusMessage>
#include <QSignalSpy>

using namespace vorlin;
using namespace vorlin::test;
using platform::ShortcutState;

namespace {

class PortalGlobalShortcut : public StandInPortal {
protected:
    QDBusConnection startPortal(const char* mode) { return StandInPortal::startPortal(VORLIN_FAKE_SHORTCUTS_PORTAL, mode); }

    // The desktop's user presses the bound keys.
    void press(const QDBusConnection& connection)
    {
        connection.call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.portal.Desktop"),
                                                       QStringLiteral("/org/freedesktop/portal/desktop"),
                                                       QStringLiteral("org.vorlin.Test"), QStringLiteral("Press")));
    }

    // Waits for the desktop's answer to the binding.
    static ShortcutState settled(platform::PortalGlobalShortcut& shortcut)
    {
        QTest::qWaitFor([&] { return shortcut.state() != ShortcutState::Asking; }, 5000);
        return shortcut.state();
    }
};

}  // namespace

TEST_F(PortalGlobalShortcut, TheChordIsOfferedBoundAndPressedAndANewChordIsANewSession)
{
    const QDBusConnection connection = startPortal("grant");
    ASSERT_TRUE(platform::PortalGlobalShortcut::offered(connection));
    platform::PortalGlobalShortcut shortcut(connection);
    QSignalSpy pressed(&shortcut, &platform::GlobalShortcut::pressed);
    EXPECT_EQ(shortcut.bind(Qt::Key_V, Qt::ControlModifier | Qt::AltModifier), ShortcutState::Asking);
    EXPECT_EQ(settled(shortcut), ShortcutState::Registered);
    EXPECT_EQ(shortcut.trigger(), QStringLiteral("Ctrl+Alt+V (test)"));
    press(connection);
    EXPECT_TRUE(pressed.wait(3000));

    shortcut.bind(Qt::Key_F9, Qt::MetaModifier | Qt::ShiftModifier);
    EXPECT_EQ(settled(shortcut), ShortcutState::Registered);
    shortcut.bind(Qt::Key(0), {});
    EXPECT_EQ(shortcut.state(), ShortcutState::Off);
    QTest::qWaitFor([&] { return calls().size() >= 7; }, 3000);
    EXPECT_EQ(calls(), (QStringList{"ready", "CreateSession s1", "BindShortcuts s1 quick-insert=CTRL+ALT+v",
                                    "Close s1", "CreateSession s2", "BindShortcuts s2 quick-insert=SHIFT+LOGO+F9",
                                    "Close s2"}));
    press(connection);  // no session bound any more
    EXPECT_FALSE(pressed.wait(300));
    EXPECT_EQ(pressed.size(), 1);
}

TEST_F(PortalGlobalShortcut, ARefusalIsSaidAndNoPortalIsNone)
{
    const QDBusConnection connection = startPortal("refuse");
    platform::PortalGlobalShortcut shortcut(connection);
    QSignalSpy changed(&shortcut, &platform::GlobalShortcut::stateChanged);
    shortcut.bind(Qt::Key_V, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(settled(shortcut), ShortcutState::Refused);
    EXPECT_EQ(changed.size(), 1);

    bus.kill();
    bus.waitForFinished();
    EXPECT_FALSE(platform::PortalGlobalShortcut::offered(QDBusConnection(QStringLiteral("nowhere"))));
}
