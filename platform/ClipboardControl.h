#pragma once

#include "common/AwayFromGuiThread.h"

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

// Whether the clipboard holds the text as the desktop hands it out; true
// where the desktop offers no way to ask. Read while the program serves its
// events (it may be the owner), and asked again for a moment: a copy just
// made may not have reached the desktop yet.
inline bool clipboardHolds(ClipboardControl& control, const QByteArray& text)
{
    for (int attempt = 0;; ++attempt) {
        const std::optional<QByteArray> held = awayFromGuiThread([&] { return control.text(); });
        if (!held || *held == text)
            return true;
        if (attempt == 10)
            return false;
        pauseServingEvents(50);
    }
}

}  // namespace vorlin::platform
