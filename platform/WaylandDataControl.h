#pragma once

#include "platform/ClipboardControl.h"

#include <memory>

namespace vorlin::platform {

// The clipboard of a Wayland compositor that offers the data-control
// protocol (sway and the other wlroots desktops, KDE), on a connection of
// its own, served by a thread of its own while the program holds the
// clipboard.
class WaylandDataControl : public ClipboardControl {
public:
    // Null where the session is no Wayland one or the compositor offers no
    // data control.
    static std::unique_ptr<WaylandDataControl> connect();
    ~WaylandDataControl() override;

    bool take(const Forms& forms) override;
    std::optional<QByteArray> text() override;

private:
    struct Connection;
    explicit WaylandDataControl(std::unique_ptr<Connection> connection);
    std::unique_ptr<Connection> c_;
};

}  // namespace vorlin::platform
