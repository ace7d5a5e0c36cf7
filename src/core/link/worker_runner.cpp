// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/worker_runner.h"

#include <utility>

#include "platform/line_timing.h"

WorkerRunner::~WorkerRunner() {
    Join();
}

bool WorkerRunner::Start(std::function<void()> work) {
    if (m_Thread.joinable()) {
        return false;
    }
    m_Finished.store(false, std::memory_order_release);
    m_Thread = std::thread([this, job = std::move(work)] {
        // Every worker here waits on the radio's line.
        KeepWaitsOnTime();
        job();
        m_Finished.store(true, std::memory_order_release);
    });
    return true;
}

void WorkerRunner::Join() {
    if (m_Thread.joinable()) {
        m_Thread.join();
    }
}
