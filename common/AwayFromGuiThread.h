#pragma once

#include "common/Error.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <exception>
#include <functional>
#include <optional>
#include <thread>
#include <type_traits>

namespace vorlin {

// A call that did not come back within its time limit and was abandoned.
class CallTimedOut : public Error {
public:
    using Error::Error;
};

// Runs a call that may wait for another process on a thread of its own while
// the GUI thread keeps serving its events (the clipboard's requests among
// them), but no user input, until the call returns. To the caller it behaves
// like a plain call: its result comes back, its exception is raised again.
// Off the GUI thread, and once its events have ended, the call simply runs.
//
// With a time limit (ms, > 0) a call that has not returned by then is
// abandoned: `abandon` must make it return at once (by cutting its
// connection), after which CallTimedOut is raised with the given message.
// Set when the GUI thread can serve no more events (the display is gone and
// the program ends from inside the event loop): calls then simply run.
inline std::atomic<bool> guiEventsEnded = false;

template <class Call>
auto awayFromGuiThread(Call&& call, int timeLimitMs = 0, const std::function<void()>& abandon = {},
                       const QString& timedOutMessage = {}) -> std::invoke_result_t<Call&>
{
    using Result = std::invoke_result_t<Call&>;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread() || guiEventsEnded)
        return call();

    QEventLoop loop;
    std::exception_ptr error;
    std::atomic<bool> returned = false;
    std::conditional_t<std::is_void_v<Result>, bool, std::optional<Result>> result{};
    std::thread worker([&] {
        try {
            if constexpr (std::is_void_v<Result>)
                call();
            else
                result.emplace(call());
        } catch (...) {
            error = std::current_exception();
        }
        returned = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QTimer limit;
    if (timeLimitMs > 0) {
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        limit.start(timeLimitMs);
    }
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!returned) {
        if (abandon)
            abandon();
        worker.join();
        throw CallTimedOut(timedOutMessage);
    }
    worker.join();
    if (error)
        std::rethrow_exception(error);
    if constexpr (!std::is_void_v<Result>)
        return std::move(*result);
}

}  // namespace vorlin
