#include "app/Startup.h"

#include "app/QuickInsert.h"

#include "common/Paths.h"
#include "data/DM_Unit.h"
#include "data/KindsFile.h"
#include "data/SettingsFile.h"
#include "data/KindsList.h"
#include "data/Library.h"
#include "data/Settings.h"
#include "platform/WaylandDataControl.h"
#include "platform/UnoOfficeAutomation.h"
#include "platform/X11DesktopWindows.h"
#include "platform/X11GlobalShortcut.h"
#include "platform/PortalGlobalShortcut.h"
#include "platform/SessionKeyboard.h"
#include "ui/import/Import_Unit.h"
#include "ui/main/Vorlin_Unit.h"
#include "ui/quick/QuickInsertPopup.h"
#include "ui/preview/Nahled_Unit.h"
#include "ui/settings/About_Unit.h"
#include "ui/settings/ServerPassword.h"
#include "ui/shell/ErrorBox.h"
#include "ui/shell/Guarded.h"

#include <QGuiApplication>

#include <malloc.h>

namespace vorlin {

namespace {

// The windows of one run of the program, made by start-up and gone at exit.
struct Windows {
    TDM* data = nullptr;
    TVorlin_Form* main = nullptr;
    TAbout_Form* settings = nullptr;
    TNahled_Form* preview = nullptr;
    TImport_Form* import = nullptr;
    QuickInsert* quick = nullptr;
};

Windows windows;

// A shortcut for the whole desktop where the session lets a program have
// one: an X11 grab, else the desktop's portal. Under Wayland the X server of
// the older programs sees only their keys, so its grab is no shortcut there.
platform::GlobalShortcut* desktopShortcut(GraphicalSession session, QObject* owner)
{
    if (session.isX11() && QGuiApplication::platformName() == QStringLiteral("xcb"))
        return new platform::X11GlobalShortcut(owner);
    if (session.isWayland() && platform::PortalGlobalShortcut::offered())
        return new platform::PortalGlobalShortcut(QDBusConnection::sessionBus(), owner);
    return new platform::NoGlobalShortcut(owner);
}

// The desktop's windows, for listing the word processors and for where the
// focus is: X11 tells, a Wayland compositor tells no program.
platform::DesktopWindows& desktopWindows(GraphicalSession session)
{
    if (!session.isX11())
        return platform::NoDesktopWindows::instance();
    static platform::X11DesktopWindows desktop;
    return desktop;
}

constexpr int kReturnedBlockBytes = 1 << 20;

}  // namespace

TVorlin_Form& createWindows(QObject* owner, GraphicalSession session, const QString& libraryGiven)
{
    // A list of many snippets takes large blocks for a moment (the keys of
    // an order, a reading's growing store): each goes back to the system
    // when freed. Left to itself the allocator raises that bound to the
    // largest block freed and keeps later ones in its heap, held for good
    // (a million snippets in Czech order: 159 → 126 MB resident).
    mallopt(M_MMAP_THRESHOLD, kReturnedBlockBytes);
    auto* data = new TDM(owner);
    windows.data = data;
    data->library = chosenLibrary(programSettings(), libraryGiven,
                                  qEnvironmentVariable("VORLIN_LIBRARY"));
    data->askPassword = [](const QString& why) { return askServerPassword(windows.main, why); };
    platform::DesktopWindows& desktop = desktopWindows(session);
    static platform::UnoOfficeAutomation office;
    static platform::UnregisteredWord word;
    auto* keyboard = new platform::SessionKeyboard(session, paths().dataDir + QStringLiteral("portal_klavesnice.txt"), owner);
    auto* kinds = new KindsList(kinds::filePath(paths().dataDir), owner);

    static const std::unique_ptr<platform::WaylandDataControl> dataControl =
        session.isWayland() ? platform::WaylandDataControl::connect() : nullptr;
    platform::ClipboardControl& clipboardControl =
        dataControl ? static_cast<platform::ClipboardControl&>(*dataControl) : platform::NoClipboardControl::instance();
    auto* main = new TVorlin_Form(*data, {.keyboard = *keyboard, .desktopWindows = desktop, .office = office, .word = word,
                                          .clipboardControl = clipboardControl});
    windows.main = main;
    main->listKindsOf(*kinds);
    // The other windows exist before the main window's creation handler
    // runs, which enables the buttons that open them.
    auto* shortcut = desktopShortcut(session, owner);
    windows.settings = new TAbout_Form(*data, *kinds, SettingsWindowServices{*shortcut});
    windows.preview = new TNahled_Form(*data, main->fontDialog());
    windows.import = new TImport_Form(*data, *kinds);
    windows.quick = new QuickInsert(*data, *kinds,
                                    {.insertion = {.keyboard = *keyboard, .desktop = desktop, .office = office, .clipboard = clipboardControl},
                                     .shortcut = *shortcut},
                                    paths().dataDir, owner);
    using ui::guarded;
    QObject::connect(main, &TVorlin_Form::settingsRequested, windows.settings, guarded(windows.settings, &TAbout_Form::showWindow));
    QObject::connect(main, &TVorlin_Form::previewRequested, windows.preview, guarded(windows.preview, &TNahled_Form::showWindow));
    QObject::connect(main, &TVorlin_Form::importRequested, windows.import, guarded(windows.import, &TImport_Form::showEmptied));
    // A run that serves the window's events (the import's file set) stops
    // at its next point instead of going on in a closed program.
    QObject::connect(main, &TVorlin_Form::ending, windows.import, guarded(windows.import, &TImport_Form::Zastavit_ButtonClick));
    QObject::connect(windows.preview, &TNahled_Form::newRowBodyLeft, main, guarded(main, &TVorlin_Form::takeBody));
    for (ui::SecondaryWindow* window : std::initializer_list<ui::SecondaryWindow*>{windows.settings, windows.preview, windows.import})
        window->setHome(main);

    runShowingErrors([main] { main->FormCreate(); });
    data->setBodyEditor(main);
    runShowingErrors([data] { data->DataModuleCreate(); });
    runShowingErrors([] { windows.quick->start(); });
    runShowingErrors([] { windows.settings->FormCreate(); });
    main->show();
    return *main;
}

QuickInsert& quickInsert()
{
    return *windows.quick;
}

void destroyWindows()
{
    runShowingErrors([] { windows.main->FormDestroy(); });
    delete windows.quick;
    delete windows.import;
    delete windows.preview;
    delete windows.settings;
    delete windows.main;
    delete windows.data;
    windows = {};
}

}  // namespace vorlin
