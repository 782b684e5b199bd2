#pragma once

#include "common/Error.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <variant>

// The one way the program works away from the GUI thread, in two forms:
//
// - runInBackground: work whose result the window can take later. It runs on
//   the program's background threads and its outcome is handed to a continuation on the GUI
//   thread, unless the object that asked is gone by then. Nothing waits.
// - awayFromGuiThread: a call the caller needs the answer of before it can go
//   on (an office call in the middle of an insertion, a document's
//   conversion in the middle of an import). The wait is part of what the
//   user sees: the window keeps repainting and answering the clipboard, a
//   time limit ends a call that hangs, and a stop button can end it. It is
//   the one place where the program waits in a nested event loop for a
//   thread.

namespace vorlin {

// A call that did not come back within its time limit and was abandoned.
class CallTimedOut : public Error {
public:
    using Error::Error;
};

// A call the user stopped while it ran; it was abandoned.
class CallStopped : public Error {
public:
    CallStopped() : Error(QStringLiteral("Stopped")) {}
};

// Set when the GUI thread can serve no more events (the display is gone and
// the program ends from inside the event loop): calls then simply run.
inline std::atomic<bool> guiEventsEnded = false;

// How a wait for a call ends early. A limit or a stop abandons the call:
// `abandon` must make it return at once (by cutting its connection, killing
// its process), after which CallTimedOut (with the message) or CallStopped
// is raised.
struct WaitLimits {
    int timeLimitMs = 0;  // none when 0
    QString timedOutMessage;
    // Looked at every 15 ms while the call runs: often enough for a stop to
    // feel immediate, seldom enough to cost nothing beside the call.
    std::function<bool()> stopWhen;
    std::function<void()> abandon;
    // The window takes the user's clicks meanwhile (its stop button), not
    // only repaints and the clipboard's requests.
    bool servesUserInput = false;
};

// The program's own threads for work in the background. Qt spreads some of
// its own work over the threads of its global pool and waits for them (a
// large area painted): a long read of the program's there would hold up the
// window's painting.
QThreadPool& backgroundThreads();

// What came of work run in the background: take() gives its result or
// raises its error.
template <class Result>
class Outcome {
public:
    using Value = std::conditional_t<std::is_void_v<Result>, std::monostate, Result>;

    template <class Work>
    static Outcome of(Work& work)
    {
        Outcome outcome;
        try {
            if constexpr (std::is_void_v<Result>) {
                work();
                outcome.value_.emplace();
            } else {
                outcome.value_.emplace(work());
            }
        } catch (...) {
            outcome.error_ = std::current_exception();
        }
        return outcome;
    }

    Result take()
    {
        if (error_)
            std::rethrow_exception(error_);
        if constexpr (!std::is_void_v<Result>)
            return std::move(*value_);
    }

private:
    std::optional<Value> value_;
    std::exception_ptr error_;
};

// A hand-over of work between threads through a queue of Qt's (its pool,
// its event loop), whose futex-based locks ThreadSanitizer cannot see: what
// the giving thread wrote before and during `give` (the work's captures,
// copied into the queue) is seen by the taking thread after `take`, for the
// tool as for the memory model. One lock of our own, held while work is
// queued and taken by the thread that runs it before it reads anything of
// the work's own.
class Handover {
public:
    template <class Queue>
    static void give(Queue&& queue)
    {
        std::lock_guard hold(lock());
        queue();
    }
    static void take() { std::lock_guard hold(lock()); }

private:
    static std::mutex& lock();
};

// Runs `call` on the thread of `receiver` (the GUI thread's objects), from
// any thread, while the receiver lives: a hand-over through its event loop.
template <class Call>
void handToThreadOf(QObject* receiver, Call call)
{
    Handover::give([&] {
        QMetaObject::invokeMethod(
            receiver,
            [call = std::move(call)]() mutable {
                Handover::take();
                call();
            },
            Qt::QueuedConnection);
    });
}

// Runs `work` on the background threads; `then(Outcome)` runs on the GUI
// thread afterwards, while `guard` lives.
template <class Work, class Then>
void runInBackground(QObject* guard, Work work, Then then)
{
    using Result = std::invoke_result_t<Work&>;
    QPointer<QObject> alive(guard);
    Handover::give([&] {
        backgroundThreads().start([alive, work, then]() mutable {
            Handover::take();
            auto outcome = std::make_shared<Outcome<Result>>(Outcome<Result>::of(work));
            // Handed over through the application: the guard may end
            // meanwhile, and is asked after on its own thread.
            handToThreadOf(QCoreApplication::instance(), [alive, then, outcome]() mutable {
                if (alive)
                    then(std::move(*outcome));
            });
        });
    });
}

// Runs a call that may wait for another process on a thread of its own while
// the GUI thread keeps serving its events (the clipboard's requests among
// them), until the call returns. To the caller it behaves like a plain call:
// its result comes back, its exception is raised again. Off the GUI thread,
// and once its events have ended, the call simply runs.
template <class Call>
auto awayFromGuiThread(Call&& call, const WaitLimits& limits = {}) -> std::invoke_result_t<Call&>
{
    using Result = std::invoke_result_t<Call&>;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread() || guiEventsEnded)
        return call();

    QEventLoop loop;
    std::atomic<bool> returned = false;
    std::optional<Outcome<Result>> outcome;
    std::thread worker([&] {
        outcome.emplace(Outcome<Result>::of(call));
        returned = true;
        // By name: the call is made and dropped inside Qt, whose count of
        // its holders the thread sanitizer cannot see.
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    QTimer limit;
    if (limits.timeLimitMs > 0) {
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        limit.start(limits.timeLimitMs);
    }
    QTimer stopLook;
    bool stopped = false;
    if (limits.stopWhen) {
        QObject::connect(&stopLook, &QTimer::timeout, &loop, [&] {
            if (limits.stopWhen()) {
                stopped = true;
                loop.quit();
            }
        });
        stopLook.start(15);
    }
    loop.exec(limits.servesUserInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    stopLook.stop();
    if (!returned) {
        if (limits.abandon)
            limits.abandon();
        worker.join();
        if (stopped)
            throw CallStopped();
        throw CallTimedOut(limits.timedOutMessage);
    }
    worker.join();
    return outcome->take();
}

// Lets time pass for a call that must wait for another process to get ready,
// the GUI thread serving its events but no user input; off it, a plain sleep.
inline void pauseServingEvents(int ms)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    QEventLoop pause;
    QTimer::singleShot(ms, &pause, &QEventLoop::quit);
    pause.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vorlin
