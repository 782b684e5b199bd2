#pragma once

#include <cstddef>
#include <functional>
#include <thread>

namespace vorlin {

// The program's threads are made here and nowhere else: work lent to the
// program's pool (common/AwayFromGuiThread.h) for as long as it takes, or a
// thread of its own for work that lasts as long as its owner.

// A thread for work that lasts as long as its owner (a server's
// notifications listened for, a clipboard served to the desktop): started
// with its work, joined when the owner ends it or is destroyed.
class OwnThread {
public:
    OwnThread() = default;
    explicit OwnThread(std::function<void()> work) : thread_(std::move(work)) {}
    OwnThread(OwnThread&&) noexcept = default;
    OwnThread& operator=(OwnThread&& other) noexcept;
    OwnThread(const OwnThread&) = delete;
    OwnThread& operator=(const OwnThread&) = delete;
    ~OwnThread() { join(); }

    // Until joined.
    bool running() const { return thread_.joinable(); }
    void join();

private:
    std::thread thread_;
};

// Work nobody waits for that may still run when the program wants it no
// more (a server knocked at, whose answer may take its whole timeout): it
// owns all it uses, and is left behind at the end.
void leaveRunning(std::function<void()> work);

// each(0), each(1) … each(count - 1) at once: the first on this thread, the
// others lent to the program's pool while it has threads free (else here,
// one after another); returns when all have returned. Each keeps its own
// errors: it must not throw.
void allAtOnce(std::size_t count, const std::function<void(std::size_t)>& each);

}  // namespace vorlin
