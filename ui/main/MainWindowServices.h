#pragma once

#include "platform/ClipboardControl.h"
#include "platform/DesktopWindows.h"
#include "platform/Keyboard.h"
#include "platform/OfficeAutomation.h"
#include "platform/WordAutomation.h"

#include <QSystemTrayIcon>

#include <functional>

namespace vorlin {

// What the main window asks of the desktop and the word processors. Each
// has a "none" that does nothing or reports that it is missing, so that a
// window made without one still works.
struct MainWindowServices {
    // Where the delayed Ctrl+V is typed.
    platform::Keyboard& keyboard = platform::NoKeyboard::instance();
    // The desktop's windows, for listing and showing the word processors.
    platform::DesktopWindows& desktopWindows = platform::NoDesktopWindows::instance();
    // The word processors the snippet goes into.
    platform::OfficeAutomation& office = platform::NoOffice::instance();
    platform::WordAutomation& word = platform::UnregisteredWord::instance();
    // The clipboard taken and checked through the desktop (Wayland's data
    // control) before the delayed Ctrl+V.
    platform::ClipboardControl& clipboardControl = platform::NoClipboardControl::instance();
    // Whether the desktop shows a notification area (a tray host runs).
    std::function<bool()> trayAvailable = &QSystemTrayIcon::isSystemTrayAvailable;
};

}  // namespace vorlin
