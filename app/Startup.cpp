#include "app/Startup.h"

#include "common/Paths.h"
#include "data/DM_Unit.h"
#include "data/KindsFile.h"
#include "data/KindsList.h"
#include "platform/UnoOfficeAutomation.h"
#include "platform/X11DesktopWindows.h"
#include "platform/SessionKeyboard.h"
#include "ui/import/Import_Unit.h"
#include "ui/main/Vorlin_Unit.h"
#include "ui/preview/Nahled_Unit.h"
#include "ui/settings/About_Unit.h"
#include "ui/shell/ErrorBox.h"
#include "ui/shell/Guarded.h"

namespace vorlin {

namespace {

// The windows of one run of the program, made by start-up and gone at exit.
struct Windows {
    TDM* data = nullptr;
    TVorlin_Form* main = nullptr;
    TAbout_Form* settings = nullptr;
    TNahled_Form* preview = nullptr;
    TImport_Form* import = nullptr;
};

Windows windows;

}  // namespace

TVorlin_Form& createWindows(QObject* owner)
{
    auto* data = new TDM(owner);
    windows.data = data;
    static platform::X11DesktopWindows desktop;
    static platform::UnoOfficeAutomation office;
    static platform::UnregisteredWord word;
    auto* keyboard = new platform::SessionKeyboard(paths().dataDir + QStringLiteral("portal_klavesnice.txt"), owner);
    auto* kinds = new KindsList(kinds::filePath(paths().dataDir), owner);

    auto* main = new TVorlin_Form(*data, {.keyboard = *keyboard, .desktopWindows = desktop, .office = office, .word = word});
    windows.main = main;
    main->listKindsOf(*kinds);
    // The other windows exist before the main window's creation handler
    // runs, which enables the buttons that open them.
    windows.settings = new TAbout_Form(*data, *kinds);
    windows.preview = new TNahled_Form(*data, main->fontDialog());
    windows.import = new TImport_Form(*data, *kinds);
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
    runShowingErrors([] { windows.settings->FormCreate(); });
    main->show();
    return *main;
}

void destroyWindows()
{
    runShowingErrors([] { windows.main->FormDestroy(); });
    delete windows.import;
    delete windows.preview;
    delete windows.settings;
    delete windows.main;
    delete windows.data;
    windows = {};
}

}  // namespace vorlin
