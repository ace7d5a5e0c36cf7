// SPDX-License-Identifier: GPL-3.0-or-later
// One worker thread that a caller starts and then follows by polling, as the transfer dialog's
// timer and the command line's progress loop do. Finished() turns true only after the work
// has returned, so everything the work published before is visible to the caller then.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

class WorkerRunner {
public:
    WorkerRunner() = default;
    // A worker still running is waited for: it may use memory its owner is about to free.
    ~WorkerRunner();
    WorkerRunner(const WorkerRunner&) = delete;
    WorkerRunner& operator=(const WorkerRunner&) = delete;

    // Runs work on a new thread; false, and nothing started, while an earlier one is not joined.
    bool Start(std::function<void()> work);
    // Started and not yet joined.
    bool Running() const { return m_Thread.joinable(); }
    // The work has returned (or none was ever started).
    bool Finished() const { return m_Finished.load(std::memory_order_acquire); }
    // Waits for the work to return; does nothing when none runs.
    void Join();

private:
    std::thread m_Thread;
    std::atomic<bool> m_Finished{true};
};
