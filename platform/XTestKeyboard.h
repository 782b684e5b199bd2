#pragma once

#include "platform/Keyboard.h"

#include <QObject>
#include <QTimer>

#include <set>

using Display = struct _XDisplay;

namespace vorlin::platform {

// Key events through the X server's test extension, to whichever X window has
// the focus (X11 programs and, under Wayland, the programs running on
// XWayland). A key is sent as the key of the current layout that carries
// its symbol; when the layout has none (a Russian layout has no "v"),
// a spare key is given the symbol for the time of the send. Modifiers the user
// still holds are let go first, so that Ctrl+V does not arrive as
// Ctrl+Shift+V. Without an X display nothing is sent (and false returned).
class XTestKeyboard : public QObject, public Keyboard {
    Q_OBJECT
public:
    explicit XTestKeyboard(QObject* parent = nullptr);
    ~XTestKeyboard() override;

    bool sendChord(Qt::Key key, Qt::KeyboardModifiers modifiers) override;

private:
    bool connect();
    void stroke(Qt::Key key, bool press);
    unsigned keycodeOf(unsigned long symbol, bool bindWhenMissing);
    void releaseHeldModifiers();
    void restoreSpareKey();

    Display* display_ = nullptr;
    bool tried_ = false;
    std::set<unsigned> down_;  // keycodes this keyboard holds down
    unsigned spareKeycode_ = 0;  // bound to a symbol the layout lacks, 0 when none
    unsigned long spareSymbol_ = 0;
    QTimer restoreTimer_;
};

}  // namespace vorlin::platform
