#include "platform/WaylandSeat.h"

#include <wayland-client.h>

#include <cstring>

namespace vorlin::platform {

std::unique_ptr<WaylandSeat> WaylandSeat::connect(const wl_interface& manager)
{
    std::unique_ptr<WaylandSeat> wayland(new WaylandSeat);
    wayland->managerInterface_ = &manager;
    wayland->display_ = wl_display_connect(nullptr);
    if (!wayland->display_)
        return nullptr;
    wayland->registry_ = wl_display_get_registry(wayland->display_);
    static const wl_registry_listener listener{&WaylandSeat::global, &WaylandSeat::globalRemoved};
    wl_registry_add_listener(wayland->registry_, &listener, wayland.get());
    if (wl_display_roundtrip(wayland->display_) < 0 || !wayland->seat_ || !wayland->manager_)
        return nullptr;
    return wayland;
}

void WaylandSeat::global(void* data, wl_registry* registry, unsigned name, const char* interface, unsigned)
{
    auto* wayland = static_cast<WaylandSeat*>(data);
    if (!wayland->seat_ && std::strcmp(interface, wl_seat_interface.name) == 0)
        wayland->seat_ = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (!wayland->manager_ && std::strcmp(interface, wayland->managerInterface_->name) == 0)
        wayland->manager_ = wl_registry_bind(registry, name, wayland->managerInterface_, 1);
}

WaylandSeat::~WaylandSeat()
{
    // A manager left bound (none came with the seat) goes with the display.
    if (seat_)
        wl_seat_destroy(seat_);
    if (registry_)
        wl_registry_destroy(registry_);
    if (display_)
        wl_display_disconnect(display_);
}

}  // namespace vorlin::platform
