#pragma once

#include "platform/GlobalShortcut.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariantMap>

namespace vorlin::platform {

// A global shortcut through the desktop's GlobalShortcuts portal (KDE,
// GNOME and others on Wayland): a session of the program's with one
// shortcut, the chord offered as the preferred trigger. The desktop may ask
// the user and may let the user choose other keys; until it answers the
// state is Asking. A new chord starts a new session.
class PortalGlobalShortcut : public GlobalShortcut {
    Q_OBJECT
public:
    explicit PortalGlobalShortcut(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    ~PortalGlobalShortcut() override;

    // Whether the bus has a desktop portal with global shortcuts.
    static bool offered(const QDBusConnection& bus = QDBusConnection::sessionBus());

    ShortcutState bind(Qt::Key key, Qt::KeyboardModifiers modifiers) override;
    ShortcutState state() const override { return state_; }

    // The keys as the desktop describes them once it bound the shortcut.
    const QString& trigger() const { return trigger_; }

    // The chord in the desktop's shortcut notation ("CTRL+ALT+v").
    static QString triggerText(Qt::Key key, Qt::KeyboardModifiers modifiers);

private Q_SLOTS:
    void answered(uint code, const QVariantMap& results);
    void activated(const QDBusMessage& signal);

private:
    enum class Step { None, CreatingSession, Binding };
    bool ask(const QString& method, const QVariantList& arguments, QVariantMap options, Step step);
    void stopListening();  // to the pending request's answer
    void closeSession();
    void settle(ShortcutState state);

    QDBusConnection bus_;
    QDBusObjectPath session_;
    QString requestPath_;
    Step step_ = Step::None;
    int requests_ = 0;
    QString wanted_;  // the trigger to bind
    QString trigger_;
    ShortcutState state_ = ShortcutState::Off;
};

}  // namespace vorlin::platform
