// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/line_timing.h"

#include <sys/prctl.h>

namespace {

// A microsecond: well under a byte time at any speed the radio uses.
constexpr unsigned long kTimerSlackNs = 1000;

}  // namespace

void KeepWaitsOnTime() {
    prctl(PR_SET_TIMERSLACK, kTimerSlackNs, 0, 0, 0);
}
