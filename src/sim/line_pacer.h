// SPDX-License-Identifier: GPL-3.0-or-later
// Times of a 9600 baud line (10 bits a byte) for a radio on a pseudo-terminal, where
// bytes otherwise arrive and leave at once. Times are nanoseconds of CLOCK_MONOTONIC.
#pragma once

#include <cstdint>

#include "link/clone_frames.h"

constexpr int64_t kByteNanoseconds = 10 * 1000000000LL / clone_frames::kBaudRate;

int64_t MonotonicNow();
// Sleeps without spinning until the monotonic clock reaches the time.
void SleepUntil(int64_t time);

class LinePacer {
public:
    // When a byte seen at `now` has finished arriving, after the bytes before it.
    int64_t Arrival(int64_t now);
    // When a byte that may leave at `ready` has finished leaving, after the bytes before it.
    int64_t Departure(int64_t ready);

private:
    int64_t m_IncomingFree = 0;
    int64_t m_OutgoingFree = 0;
};
