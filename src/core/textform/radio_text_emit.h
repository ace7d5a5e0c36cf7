// SPDX-License-Identifier: GPL-3.0-or-later
// Writes values as the text form: a fixed key order, one channel a line, so that one edited
// channel is one changed line.
#pragma once

#include <string>

#include "codeplug/codecs.h"
#include "textform/radio_values.h"

std::string EmitRadioText(const RadioValues& values, const FrequencyLimits& limits);
