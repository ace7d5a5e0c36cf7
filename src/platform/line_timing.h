// SPDX-License-Identifier: GPL-3.0-or-later
// Timing for the threads that talk on a serial line.
#pragma once

// Lets the calling thread's timed waits end on time: by default the kernel may stretch each
// by 50 us to batch wake-ups, which over the few waits of each of hundreds of frames adds a
// measurable share to a transfer. Costs no CPU; a kernel without the setting keeps its own.
void KeepWaitsOnTime();
