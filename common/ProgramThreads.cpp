#include "common/ProgramThreads.h"

#include "common/AwayFromGuiThread.h"

#include <QSemaphore>

namespace vorlin {

OwnThread& OwnThread::operator=(OwnThread&& other) noexcept
{
    join();
    thread_ = std::move(other.thread_);
    return *this;
}

void OwnThread::join()
{
    if (thread_.joinable())
        thread_.join();
}

void leaveRunning(std::function<void()> work)
{
    std::thread(std::move(work)).detach();
}

void allAtOnce(std::size_t count, const std::function<void(std::size_t)>& each)
{
    // Only free threads are taken: work that is itself on the pool and
    // waits here can never wait for a thread that waits for it.
    QSemaphore ended;
    int lent = 0;
    std::vector<std::size_t> here;
    for (std::size_t i = 1; i < count; ++i) {
        const bool started = backgroundThreads().tryStart([&each, &ended, i] {
            each(i);
            ended.release();
        });
        if (started)
            ++lent;
        else
            here.push_back(i);
    }
    if (count > 0)
        each(0);
    for (const std::size_t i : here)
        each(i);
    ended.acquire(lent);
}

}  // namespace vorlin
