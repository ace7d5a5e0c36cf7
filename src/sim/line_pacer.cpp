// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/line_pacer.h"

#include <time.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000LL;

// A long sleep lets the processor sleep deeply, and it wakes from that well after its time;
// waking this much before and sleeping the rest puts a byte on the line on time.
constexpr int64_t kWakeBeforeNs = 300000;
constexpr int64_t kLongSleepNs = 2000000;

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

void SleepUntil(int64_t time) {
    if (time - MonotonicNow() > kLongSleepNs) {
        SleepUntilOnce(time - kWakeBeforeNs);
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
