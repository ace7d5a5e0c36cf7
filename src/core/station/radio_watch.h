// SPDX-License-Identifier: GPL-3.0-or-later
// The station's automatic mode on one cable: the wake-up tried until the next radio answers,
// and, once a radio is done, until it stops answering, telling once when it still answers
// long after. The station's workers and the browser's cables both watch through these, each
// with its own probe and its own wait, which ends early when the station stops.
#pragma once

#include <functional>

#include "station/radio_probe.h"

struct RadioWatch {
    // The cable's probe of tries wake-ups; Cancelled once the station stops.
    std::function<ProbeResult(int tries)> probe;
    // Waits milliseconds; false when the station stops first.
    std::function<bool(int milliseconds)> sleep;
};

// Tries the wake-up every intervalMs until a radio answers: Answered, or Cancelled once the
// station stops.
ProbeResult AwaitNextRadio(const RadioWatch& watch, int intervalMs);

// Tries the wake-up until the radio just done stops answering: true then, false once the
// station stops. stillAnswering is called once when it still answers stillAnsweringMs after.
bool AwaitUnplug(const RadioWatch& watch, int stillAnsweringMs,
                 const std::function<void()>& stillAnswering);
