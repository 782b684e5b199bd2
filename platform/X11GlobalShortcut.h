#pragma once

#include "platform/GlobalShortcut.h"

#include <vector>

class QSocketNotifier;
struct xcb_connection_t;

namespace vorlin::platform {

// A global shortcut on X11: a passive grab of the chord on the root window,
// once for every state of NumLock and CapsLock, so that the chord works
// whichever of them is on. A chord another program grabbed already is
// reported as taken and nothing of it is kept. The grab follows changes of
// the keyboard's layout. Without an X display nothing is offered.
class X11GlobalShortcut : public GlobalShortcut {
    Q_OBJECT
public:
    explicit X11GlobalShortcut(QObject* parent = nullptr);
    ~X11GlobalShortcut() override;

    ShortcutState bind(Qt::Key key, Qt::KeyboardModifiers modifiers) override;
    ShortcutState state() const override { return state_; }

private:
    struct Grab {
        unsigned char keycode;
        unsigned short modifiers;
    };
    bool connect();
    ShortcutState grab();
    void ungrab();
    void readEvents();

    xcb_connection_t* connection_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    Qt::Key key_ = Qt::Key(0);
    Qt::KeyboardModifiers modifiers_;
    std::vector<Grab> grabs_;
    ShortcutState state_ = ShortcutState::Off;
};

}  // namespace vorlin::platform
