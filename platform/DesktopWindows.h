#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace vorlin::platform {

// One top-level window of the desktop as the window walk reports it.
struct TopLevelWindow {
    QString title;      // as the user sees it
    QString className;  // the window's class (its program's name for it)
    quint32 id = 0;     // the desktop's own name for the window
    bool dialog = false;  // a dialog (the office's "Document Recovery") or splash screen: no document
};

// The desktop's top-level windows.
class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;

    // Every top-level window, the topmost first; empty without a desktop.
    virtual QList<TopLevelWindow> windowsTopmostFirst() = 0;

    // Shows the window and makes it the active one (restored from an icon,
    // on the current desktop), maximised when asked; returns once the desktop
    // reports it active, or after a short while when it does not.
    virtual void activate(quint32 id, bool maximise) = 0;

    // A shown window of the program's that task bars and pagers leave out.
    virtual void keepOffTaskbar(quint32) {}

    // The window that has the keyboard focus now; none where the desktop
    // does not tell (a Wayland desktop keeps it to itself).
    virtual std::optional<TopLevelWindow> activeWindow() { return std::nullopt; }
};

// A session without a desktop to walk: no windows, nothing to activate.
class NoDesktopWindows : public DesktopWindows {
public:
    QList<TopLevelWindow> windowsTopmostFirst() override { return {}; }
    void activate(quint32, bool) override {}
    static NoDesktopWindows& instance()
    {
        static NoDesktopWindows none;
        return none;
    }
};

}  // namespace vorlin::platform
