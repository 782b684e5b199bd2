#include "app/ClipboardKeeper.h"
#include "app/CommandLine.h"
#include "app/DataDirectory.h"
#include "app/DataFolderOwner.h"
#include "app/QuickInsert.h"
#include "app/QuitOnSignals.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "common/PrivateFiles.h"
#include "platform/PrivateOfficeConverter.h"
#include "ui/shell/ErrorBox.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/MessageBox.h"
#include "ui/shell/VorlinApplication.h"
#include "ui/Icons.h"
#include "ui/main/Vorlin_Unit.h"

#include <QTimer>

#include <cstdio>
#include <cstring>
#include <vector>
#include <unistd.h>

int main(int argc, char** argv)
{
    using namespace vorlin;
    keepNewFilesPrivate();

    // The keeper of the clipboard that a copy before the end left behind.
    if (argc == 3 && std::strcmp(argv[1], kKeepClipboardOption) == 0)
        return runClipboardKeeper(argc, argv, QString::fromLocal8Bit(argv[2]));

    // The version, the help, and a clear word where there is no desktop to
    // show a window on, all before Qt would abort.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLineAnswer answer =
        answerCommandLine(arguments, installedVersion(processExeDir()).value_or(QString()).trimmed(), hasGraphicalSession());
    std::fputs(answer.out.toLocal8Bit().constData(), stdout);
    std::fputs(answer.err.toLocal8Bit().constData(), stderr);
    if (!answer.run)
        return answer.status;

    // Where the files live, fixed before any window exists; then the seed
    // files that are missing in the data folder, unless that folder is not
    // the user's own.
    setPaths(startupPaths());
    const QString refusal = dataFolderRefusal(paths(), ::geteuid(), ::getegid());
    if (refusal.isEmpty())
        seedDataDir(paths());

    // A Wayland session gets a native Wayland window (X11 where the Wayland
    // plugin cannot start); QT_QPA_PLATFORM chooses otherwise. Told on the
    // command line, not in the environment: an office the program starts
    // must see the session as the user's programs do.
    const GraphicalSession session = GraphicalSession::current();
    std::vector<char*> qtArguments(argv, argv + argc);
    char platformOption[] = "-platform";
    char waylandFirst[] = "wayland;xcb";
    if (session.isWayland() && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qtArguments.insert(qtArguments.begin() + 1, {platformOption, waylandFirst});
    int qtArgumentCount = int(qtArguments.size());
    qtArguments.push_back(nullptr);

    VorlinApplication app(qtArgumentCount, qtArguments.data());
    if (!refusal.isEmpty()) {
        std::fprintf(stderr, "%s\n", refusal.toLocal8Bit().constData());
        MessageBox::tell(nullptr, MessageBox::Critical, kApplicationTitle.toString(), refusal);
        return 1;
    }

    // One copy per user and display: a second start shows the first one
    // (or opens its quick-insert pop-up).
    SingleInstance instance;
    if (instance.handOverToRunningCopy(answer.quickInsert ? SingleInstance::Request::QuickInsert
                                                          : SingleInstance::Request::Show))
        return 0;
    instance.listen();
    // What an import of a killed run left in /tmp (its office's profile and
    // pipe) goes now, not at the next import.
    platform::PrivateOfficeConverter::removeLeftoversOfEndedRuns();

    app.setWindowIcon(ui::icons::application());
    // The program ends when its main window closes, not when the last
    // visible window does (the main window may sit in the notification area).
    app.setQuitOnLastWindowClosed(false);

    TVorlin_Form& mainWindow = createWindows(&app, session, answer.library);
    QObject::connect(&instance, &SingleInstance::showRequested, &mainWindow, &TVorlin_Form::showFromTray);
    QuickInsert& quick = quickInsert();
    QObject::connect(&instance, &SingleInstance::quickInsertRequested, &quick, ui::guarded(&quick, &QuickInsert::open));
    if (answer.quickInsert)
        QTimer::singleShot(0, &quick, ui::guarded(&quick, &QuickInsert::open));
    closeOnTerminationSignals([&mainWindow] { mainWindow.endAskingNothing(); });
    saveOnLostDisplay([&mainWindow] { mainWindow.saveWithoutDisplay(); });
    const int result = app.exec();
    stopSavingOnLostDisplay();
    keepClipboardAfterExit(QCoreApplication::applicationFilePath());
    destroyWindows();
    return result;
}
