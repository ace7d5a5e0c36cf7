// SPDX-License-Identifier: GPL-3.0-or-later
// An action timed over a number of runs, as every bench here reports it: the median run and
// the slowest, in milliseconds.
#pragma once

#include <algorithm>
#include <chrono>
#include <type_traits>
#include <vector>

struct RunTimes {
    double medianMs = 0;
    double slowestMs = 0;
};

// Calls action once a run, with the run's number when it takes one.
template <typename Action>
RunTimes TimeRuns(int runs, Action action) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if constexpr (std::is_invocable_v<Action, int>) {
            action(run);
        } else {
            action();
        }
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}
