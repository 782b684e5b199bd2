#pragma once

#include <QObject>
#include <QString>

namespace vorlin::platform {

// Where a global shortcut stands.
enum class ShortcutState {
    Off,           // no shortcut chosen
    Registered,    // pressing it anywhere reaches the program
    TakenByOther,  // another program holds the same keys
    NotOffered,    // this session gives programs no shortcut of their own
    Asking,        // the desktop asks the user; the answer comes later
    Refused,       // the desktop (or the user) did not allow it
};

// One key chord that reaches the program whichever window has the focus.
class GlobalShortcut : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Takes the chord in place of the one held before; a key of 0 lets the
    // shortcut go. The answer is also what state() says afterwards.
    virtual ShortcutState bind(Qt::Key key, Qt::KeyboardModifiers modifiers) = 0;
    virtual ShortcutState state() const = 0;

Q_SIGNALS:
    void pressed();
    // The state changed by itself (a desktop answered later, a portal
    // session ended).
    void stateChanged(vorlin::platform::ShortcutState state);
};

// A session without global shortcuts.
class NoGlobalShortcut : public GlobalShortcut {
public:
    using GlobalShortcut::GlobalShortcut;
    ShortcutState bind(Qt::Key key, Qt::KeyboardModifiers) override
    {
        return key ? ShortcutState::NotOffered : ShortcutState::Off;
    }
    ShortcutState state() const override { return ShortcutState::NotOffered; }

    static NoGlobalShortcut& instance()
    {
        static NoGlobalShortcut none;
        return none;
    }
};

}  // namespace vorlin::platform
