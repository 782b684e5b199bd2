#pragma once

#include <cstddef>
#include <exception>
#include <thread>

namespace vorlin {

// From this many items on, a thread of its own costs little beside the work.
inline constexpr std::size_t kWorthTwoHalves = 20000;

// Work over a long list done in two halves at once on this machine's cores:
// part(0, 0, middle) on this thread while part(1, middle, count) runs on a
// thread of its own; a short list (or one whose work must not be shared
// between threads) is part(0, 0, count) alone. An exception of either half
// is raised again once both have ended.
template <class Part>
void inTwoHalves(std::size_t count, Part&& part, bool shareable = true)
{
    if (count < kWorthTwoHalves || !shareable) {
        part(0, std::size_t(0), count);
        return;
    }
    const std::size_t middle = count / 2;
    std::exception_ptr laterFailure;
    std::thread later([&] {
        try {
            part(1, middle, count);
        } catch (...) {
            laterFailure = std::current_exception();
        }
    });
    try {
        part(0, std::size_t(0), middle);
    } catch (...) {
        later.join();
        throw;
    }
    later.join();
    if (laterFailure)
        std::rethrow_exception(laterFailure);
}

}  // namespace vorlin
