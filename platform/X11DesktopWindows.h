#pragma once

#include "platform/DesktopWindows.h"

struct xcb_connection_t;

namespace vorlin::platform {

// The window walk on X11: while a window manager runs (its check window
// names itself), its stacking list read topmost first; without one, the
// mapped children of the root, descending to the client window under a
// frame. Docks and desktops (a tray, the wallpaper) are not listed. Titles
// come from _NET_WM_NAME (UTF-8), else WM_NAME; the class from WM_CLASS.
// The properties of all windows are asked for at once, so the walk costs
// about one round trip to the X server, not one per window.
class X11DesktopWindows : public DesktopWindows {
public:
    X11DesktopWindows();
    ~X11DesktopWindows() override;
    X11DesktopWindows(const X11DesktopWindows&) = delete;
    X11DesktopWindows& operator=(const X11DesktopWindows&) = delete;

    QList<TopLevelWindow> windowsTopmostFirst() override;
    // With a window manager its _NET_ACTIVE_WINDOW and _NET_WM_STATE
    // requests; without one the window is mapped, raised and given the focus
    // (and not maximised).
    void activate(quint32 id, bool maximise) override;
    // _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER asked of the
    // window manager.
    void keepOffTaskbar(quint32 id) override;
    // The window manager's _NET_ACTIVE_WINDOW; without one the top-level
    // window that holds the input focus.
    std::optional<TopLevelWindow> activeWindow() override;

private:
    bool connect();

    xcb_connection_t* connection_ = nullptr;
};

}  // namespace vorlin::platform
