#pragma once

#include "common/ProgramThreads.h"

#include <cstddef>
#include <exception>

namespace vorlin {

// From this many items on, a thread of its own costs little beside the work.
inline constexpr std::size_t kWorthTwoHalves = 20000;

// Work over a long list done in two halves at once on this machine's cores:
// part(0, 0, middle) on this thread while part(1, middle, count) runs on the
// program's pool (here, after the first, when the pool has no thread free);
// a short list (or one whose work must not be shared between threads) is
// part(0, 0, count) alone. An exception of either half
// is raised again once both have ended.
template <class Part>
void inTwoHalves(std::size_t count, Part&& part, bool shareable = true)
{
    if (count < kWorthTwoHalves || !shareable) {
        part(0, std::size_t(0), count);
        return;
    }
    const std::size_t middle = count / 2;
    std::exception_ptr failures[2];
    allAtOnce(2, [&](std::size_t half) {
        try {
            part(int(half), half == 0 ? std::size_t(0) : middle, half == 0 ? middle : count);
        } catch (...) {
            failures[half] = std::current_exception();
        }
    });
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

}  // namespace vorlin
