#pragma once

#include <QList>
#include <QString>

namespace vorlin::platform {

// One top-level window of the desktop as the window walk reports it.
struct TopLevelWindow {
    QString title;      // as the user sees it
    QString className;  // the window's class (its program's name for it)
};

// The desktop's top-level windows.
class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;

    // Every top-level window, the topmost first; empty without a desktop.
    virtual QList<TopLevelWindow> windowsTopmostFirst() = 0;
};

}  // namespace vorlin::platform
