#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vorlin::bench {

// Runs the step `rounds` times and returns the median wall time in
// microseconds.
inline double medianMicroseconds(int rounds, const std::function<void()>& step)
{
    std::vector<double> times;
    times.reserve(rounds);
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        step();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

// The same, with `prepare` run untimed before each step.
inline double medianMicroseconds(int rounds, const std::function<void()>& prepare, const std::function<void()>& step)
{
    std::vector<double> times;
    times.reserve(rounds);
    for (int i = 0; i < rounds; ++i) {
        prepare();
        times.push_back(medianMicroseconds(1, step));
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

// One figure, in the form every benchmark prints: "name: value unit".
inline void report(const std::string& name, double value, const std::string& unit)
{
    std::printf("%s: %.3f %s\n", name.c_str(), value, unit.c_str());
    std::fflush(stdout);
}

}  // namespace vorlin::bench
