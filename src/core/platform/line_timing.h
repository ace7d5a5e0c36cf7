// SPDX-License-Identifier: GPL-3.0-or-later
// Timing for the threads that talk on a serial line.
#pragma once

#include <chrono>

// A wait longer than this lets the processor sleep deeply, and it then wakes well after the
// time or the byte that ends it. A long wait that should end on time wakes kWakeBeforeLongWait
// before and waits the rest from a processor that is still awake.
inline constexpr std::chrono::milliseconds kLongWait{2};
inline constexpr std::chrono::microseconds kWakeBeforeLongWait{300};

// Lets the calling thread's timed waits end on time: by default the kernel may stretch each
// by 50 us to batch wake-ups, which over the few waits of each of hundreds of frames adds a
// measurable share to a transfer. Costs no CPU; a kernel without the setting keeps its own.
void KeepWaitsOnTime();
