#pragma once

#include "platform/Keyboard.h"

#include <QObject>

#include <memory>

namespace vorlin::platform {

// The way this session offers to type for the user, found at the first
// chord and kept: a Wayland compositor's virtual keyboard where it offers one
// (it reaches native and XWayland windows alike), else the X server's test
// extension (X11, or the X11 programs under XWayland). False from sendChord
// when the session offers neither.
class SessionKeyboard : public QObject, public Keyboard {
    Q_OBJECT
public:
    explicit SessionKeyboard(QObject* parent = nullptr);
    ~SessionKeyboard() override;

    bool sendChord(Qt::Key key, Qt::KeyboardModifiers modifiers) override;

private:
    Keyboard& chosen();

    std::unique_ptr<Keyboard> chosen_;
};

}  // namespace vorlin::platform
