// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a radio is on a cable, asked the only way that leaves it untouched: the wake-up,
// and the end byte that takes an answering radio out of programming mode again.
#pragma once

#include "link/cable_exchange.h"

enum class ProbeResult { Answered, Silent, Cancelled };

ProbeResult ProbeRadio(CableLine& port, CableType cable, const CancelFlag* cancel);
