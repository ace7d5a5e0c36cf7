// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a radio is on a cable, asked the only way that leaves it untouched: the wake-up,
// and the end byte that takes an answering radio out of programming mode again.
#pragma once

#include "link/cable_exchange.h"

// A radio that misses one wake-up must not pass for one that is gone: it would be taken for
// the next radio and written twice.
inline constexpr int kProbeTries = 3;

enum class ProbeResult { Answered, Silent, Cancelled };

// Silent only after tries wake-ups went unanswered.
ProbeResult ProbeRadio(CableLine& port, CableType cable, const CancelFlag* cancel,
                       int tries = kProbeTries);
