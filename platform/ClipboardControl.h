#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace vorlin::platform {

// The clipboard taken and read through the desktop itself, without the
// input event a window's own copy needs on Wayland (a button pressed by a
// screen reader or a dictation tool has none).
class ClipboardControl {
public:
    using Forms = QList<std::pair<QByteArray, QByteArray>>;  // type → bytes

    virtual ~ClipboardControl() = default;

    // Takes the clipboard with these forms, served until another program
    // takes it; false where the desktop offers no such way.
    virtual bool take(const Forms& forms) = 0;
    // The text the clipboard holds now as the desktop hands it to others
    // (empty when it holds none or did not answer in time); nothing where
    // the desktop offers no way to read it.
    virtual std::optional<QByteArray> text() = 0;
};

// A desktop without such a way (X11, where a window's copy needs no event;
// GNOME): nothing taken, nothing read.
class NoClipboardControl : public ClipboardControl {
public:
    bool take(const Forms&) override { return false; }
    std::optional<QByteArray> text() override { return std::nullopt; }
    static NoClipboardControl& instance()
    {
        static NoClipboardControl none;
        return none;
    }
};

}  // namespace vorlin::platform
