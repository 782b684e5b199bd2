#include "app/QuitOnSignals.h"

#include "common/AwayFromGuiThread.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QThread>
#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>
#include <utility>
#include <sys/socket.h>
#include <unistd.h>

namespace vorlin {

namespace {

int signalSocket[2] = {-1, -1};

std::function<void()> saveOnTheWayOut;  // the GUI thread's
std::atomic<bool> watching = false;
QtMessageHandler earlierHandler = nullptr;

// Qt says that the display's connection broke just before it ends the
// process (X11 by exit(), Wayland by _exit(), neither through the event
// loop): the last moment at which the windows and Qt itself still stand.
bool tellsOfALostDisplay(const QString& message)
{
    return message.startsWith(QLatin1String("The X11 connection broke"))
        || message.startsWith(QLatin1String("The Wayland connection broke"))
        || message.startsWith(QLatin1String("The Wayland connection experienced a fatal error"));
}

void saveNow()
{
    guiEventsEnded = true;
    if (watching.exchange(false) && saveOnTheWayOut)
        std::exchange(saveOnTheWayOut, nullptr)();
}

void watchForALostDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (earlierHandler)
        earlierHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
    QCoreApplication* app = QCoreApplication::instance();
    if (!watching || !app || !tellsOfALostDisplay(message))
        return;
    if (QThread::currentThread() == app->thread()) {
        saveNow();
        return;
    }
    // Told on the connection's own thread: the GUI thread saves, and this
    // one waits for it a while before letting the end come.
    auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(app, [done] {
        saveNow();
        done->release();
    }, Qt::QueuedConnection);
    done->tryAcquire(1, 10000);
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
    watching = true;
    earlierHandler = qInstallMessageHandler(watchForALostDisplay);
}

void stopSavingOnLostDisplay()
{
    watching = false;
    saveOnTheWayOut = nullptr;
}

}  // namespace vorlin
