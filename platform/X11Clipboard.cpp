#include "platform/X11Clipboard.h"

#include <X11/Xlib.h>

namespace vorlin::platform {

bool clipboardManagerRuns()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    const Atom manager = XInternAtom(display, "CLIPBOARD_MANAGER", True);
    const bool runs = manager != None && XGetSelectionOwner(display, manager) != None;
    XCloseDisplay(display);
    return runs;
}

}  // namespace vorlin::platform
