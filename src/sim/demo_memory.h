// SPDX-License-Identifier: GPL-3.0-or-later
// A plausible memory for a radio fresh from a dealer: a handful of programmed channels,
// the option defaults, FM presets, test values and the band of a 136-174 MHz model.
#pragma once

#include "sim/clone_responder.h"

RadioMemory DemoMemory();
