#include "app/DataDirectory.h"
#include "app/Startup.h"
#include "app/VorlinApplication.h"
#include "ui/Icons.h"

int main(int argc, char** argv)
{
    using namespace vorlin;

    // Where the files live, fixed before any window exists; then the seed
    // files that are missing in the data folder.
    setPaths(startupPaths());
    seedDataDir(paths());

    // Under Wayland the program runs on XWayland, where its typed Ctrl+V and
    // the window list reach the other X programs.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    VorlinApplication app(argc, argv);
    app.setWindowIcon(ui::icons::application());
    // The program ends when its main window closes, not when the last
    // visible window does (the main window may sit in the notification area).
    app.setQuitOnLastWindowClosed(false);

    createWindows(&app);
    const int result = app.exec();
    destroyWindows();
    return result;
}
