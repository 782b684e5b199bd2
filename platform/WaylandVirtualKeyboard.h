#pragma once

#include "platform/Keyboard.h"

#include <memory>

namespace vorlin::platform {

// Key events through the virtual-keyboard protocol of wlroots compositors
// (sway, Hyprland, labwc...), to whichever window has the focus, native or
// XWayland. The keyboard is made once, with a US keymap of its own, so the
// chord does not depend on the user's layout; it types only once the
// compositor has taken that keymap (keys sent before are lost).
class WaylandVirtualKeyboard : public Keyboard {
public:
    // The keyboard of the compositor named by WAYLAND_DISPLAY; null when
    // there is none or it offers no virtual keyboards (GNOME, KDE).
    static std::unique_ptr<WaylandVirtualKeyboard> connect();
    ~WaylandVirtualKeyboard() override;

    bool sendChord(Qt::Key key, Qt::KeyboardModifiers modifiers) override;

private:
    struct Session;
    explicit WaylandVirtualKeyboard(std::unique_ptr<Session> session);
    std::unique_ptr<Session> session_;
};

}  // namespace vorlin::platform
