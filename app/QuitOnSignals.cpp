#include "app/QuitOnSignals.h"

#include "common/AwayFromGuiThread.h"

#include <QCoreApplication>
#include <QThread>
#include <QSocketNotifier>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <utility>
#include <sys/socket.h>
#include <unistd.h>

namespace vorlin {

namespace {

int signalSocket[2] = {-1, -1};

std::function<void()> saveOnTheWayOut;  // the GUI thread's
QtMessageHandler earlierHandler = nullptr;

// Where the save on a lost display stands. Qt learns of the loss on the GUI
// thread and on its Wayland reading thread alike, often both at once, and
// either ends the process as soon as its message is out: no thread may let
// its message go before the save has ended, whoever started it.
enum class Saving { Off, Watching, Running, Done };
std::mutex savingLock;
std::condition_variable savingChanged;
Saving saving = Saving::Off;

// Qt says that the display's connection broke just before it ends the
// process (X11 by exit(), Wayland by _exit(), neither through the event
// loop): the last moment at which the windows and Qt itself still stand.
bool tellsOfALostDisplay(const QString& message)
{
    return message.startsWith(QLatin1String("The X11 connection broke"))
        || message.startsWith(QLatin1String("The Wayland connection broke"))
        || message.startsWith(QLatin1String("The Wayland connection experienced a fatal error"));
}

// On the GUI thread: saves unless a save ran or runs already.
void saveNow()
{
    guiEventsEnded = true;
    {
        std::lock_guard lock(savingLock);
        if (saving != Saving::Watching)
            return;
        saving = Saving::Running;
    }
    if (saveOnTheWayOut)
        std::exchange(saveOnTheWayOut, nullptr)();
    {
        std::lock_guard lock(savingLock);
        saving = Saving::Done;
    }
    savingChanged.notify_all();
}

void watchForALostDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (earlierHandler)
        earlierHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !tellsOfALostDisplay(message))
        return;
    {
        std::lock_guard lock(savingLock);
        if (saving == Saving::Off || saving == Saving::Done)
            return;
    }
    if (QThread::currentThread() == app->thread()) {
        saveNow();
        return;
    }
    // Told on the connection's own thread: the GUI thread saves (asked
    // here, unless it learnt of the loss itself), and this one lets the end
    // come only once the save has ended, or after a long while.
    QMetaObject::invokeMethod(app, [] { saveNow(); }, Qt::QueuedConnection);
    std::unique_lock lock(savingLock);
    savingChanged.wait_for(lock, std::chrono::seconds(10), [] { return saving == Saving::Done; });
}

// Only what a signal handler may do: one write.
void noteSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
}

}  // namespace

void closeOnTerminationSignals(std::function<void()> close)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [close = std::move(close)] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalSocket[1], &byte, 1);
        close();
    });
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(number, &action, nullptr);
}

void saveOnLostDisplay(std::function<void()> save)
{
    saveOnTheWayOut = std::move(save);
    {
        std::lock_guard lock(savingLock);
        saving = Saving::Watching;
    }
    earlierHandler = qInstallMessageHandler(watchForALostDisplay);
}

void stopSavingOnLostDisplay()
{
    {
        std::lock_guard lock(savingLock);
        if (saving == Saving::Watching)
            saving = Saving::Off;
    }
    saveOnTheWayOut = nullptr;
}

}  // namespace vorlin
