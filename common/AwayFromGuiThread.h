#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <exception>
#include <optional>
#include <thread>
#include <type_traits>

namespace vorlin {

// Runs a call that may wait for another process on a thread of its own while
// the GUI thread keeps serving its events (the clipboard's requests among
// them), but no user input, until the call returns. To the caller it behaves
// like a plain call: its result comes back, its exception is raised again.
// Off the GUI thread the call simply runs.
template <class Call>
auto awayFromGuiThread(Call&& call) -> std::invoke_result_t<Call&>
{
    using Result = std::invoke_result_t<Call&>;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread())
        return call();

    QEventLoop loop;
    std::exception_ptr error;
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
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (error)
        std::rethrow_exception(error);
    if constexpr (!std::is_void_v<Result>)
        return std::move(*result);
}

}  // namespace vorlin
