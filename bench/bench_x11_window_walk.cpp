// The window walk behind "Spuštěné OO Writer" with 50 top-level windows on
// a private X server with a window manager (scripts/x11-session).
#include "bench/Measure.h"
#include "output/EditorDiscovery.h"
#include "platform/X11DesktopWindows.h"

#include <QByteArray>
#include <QThread>

// Xlib after Qt: its macros (Bool, Status) clash with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>

using namespace vorlin;
using namespace vorlin::bench;

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::printf("bench_x11_window_walk: needs an X display (scripts/x11-session)\n");
        return 0;
    }
    const Atom name = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    for (int i = 0; i < 50; ++i) {
        const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10 + i, 10 + i, 200, 100, 0, 0, 0);
        const QByteArray title = QStringLiteral("Dokument %1.odt - LibreOffice Writer").arg(i).toUtf8();
        XChangeProperty(display, window, name, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.constData()), int(title.size()));
        XStoreName(display, window, title.constData());
        XMapWindow(display, window);
    }
    XSync(display, False);

    platform::X11DesktopWindows desktop;
    for (int wait = 0; wait < 200 && desktop.windowsTopmostFirst().size() < 50; ++wait)
        QThread::msleep(20);
    QStringList titles;
    const double us = medianMicroseconds(51, [&] {
        titles.clear();
        ListEditorWindows(titles, EditorKind::Writer, desktop);
    });
    report("window_walk_50_windows_median", us / 1000.0, "ms");
    report("window_walk_50_windows_listed", double(titles.size()), "windows");
    XCloseDisplay(display);
    return 0;
}
