#pragma once

#include <memory>

struct wl_display;
struct wl_interface;
struct wl_registry;
struct wl_seat;

namespace vorlin::platform {

// A connection of the program's own to the Wayland display, with the first
// seat and the manager of one protocol bound at the first round trip: what
// the clipboard's data control and the virtual keyboard each begin with.
// Whoever uses the manager destroys it (by its protocol's own call) before
// this connection ends.
class WaylandSeat {
public:
    // Nothing without a display, a seat or the manager's global.
    static std::unique_ptr<WaylandSeat> connect(const wl_interface& manager);
    ~WaylandSeat();
    WaylandSeat(const WaylandSeat&) = delete;
    WaylandSeat& operator=(const WaylandSeat&) = delete;

    wl_display* display() const { return display_; }
    wl_seat* seat() const { return seat_; }
    void* manager() const { return manager_; }

private:
    WaylandSeat() = default;
    static void global(void* data, wl_registry* registry, unsigned name, const char* interface, unsigned version);
    static void globalRemoved(void*, wl_registry*, unsigned) {}

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    const wl_interface* managerInterface_ = nullptr;
    void* manager_ = nullptr;
};

}  // namespace vorlin::platform
