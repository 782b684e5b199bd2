#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace vorlin {

// The desktop the program runs on, found once at start-up and handed to
// every part that acts differently on it (the keyboard, the shortcut, the
// window list): a Wayland compositor when WAYLAND_DISPLAY names one (X11
// programs there reach only XWayland's own windows), else an X server when
// DISPLAY names one, else none. An empty variable names nothing.
struct GraphicalSession {
    enum class Kind { None, X11, Wayland };
    Kind kind = Kind::None;

    static GraphicalSession of(const QProcessEnvironment& environment);
    // The program's own session.
    static GraphicalSession current();

    bool isX11() const { return kind == Kind::X11; }
    bool isWayland() const { return kind == Kind::Wayland; }
};

// The graphical session the program shows its windows in, as a name fit for
// a file or a pipe: the X display ("_0" for ":0"), else the Wayland display;
// letters and digits kept, anything else made "_".
QString graphicalSessionName();

}  // namespace vorlin
