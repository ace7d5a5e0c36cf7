// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/line_pacer.h"

#include <time.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "platform/line_timing.h"

namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000LL;

void SleepUntilOnce(int64_t time) {
    timespec due{};
    due.tv_sec = time / kNanosecondsPerSecond;
    due.tv_nsec = time % kNanosecondsPerSecond;
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
    }
}

}  // namespace

int64_t MonotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * kNanosecondsPerSecond + now.tv_nsec;
}

// A byte after a long pause still leaves on time.
void SleepUntil(int64_t time) {
    if (time - MonotonicNow() > std::chrono::nanoseconds(kLongWait).count()) {
        SleepUntilOnce(time - std::chrono::nanoseconds(kWakeBeforeLongWait).count());
    }
    SleepUntilOnce(time);
}

int64_t LinePacer::Arrival(int64_t now) {
    m_IncomingFree = std::max(m_IncomingFree, now) + kByteNanoseconds;
    return m_IncomingFree;
}

int64_t LinePacer::Departure(int64_t ready) {
    m_OutgoingFree = std::max(m_OutgoingFree, ready) + kByteNanoseconds;
    return m_OutgoingFree;
}
