// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a text can be stored as a value, and if not, what is wrong and what is allowed: the
// same words for a dump that leaves such a value out and an apply that refuses it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/codecs.h"

// A frequency in megahertz ("146.52", "146.52000") inside the band; empty only when allowed.
std::optional<std::string> FrequencyProblem(std::string_view text, const FrequencyLimits& limits,
                                            bool allowEmpty);

// "allowed: a, b, c", or the list's first and last items with a hint when it is long.
std::string AllowedItems(const std::vector<std::string>& items);

// Up to five characters the radio's display has.
std::optional<std::string> NameProblem(std::string_view text);

// Up to six DTMF digits, 0-9 and A-D.
std::optional<std::string> PttIdCodeProblem(std::string_view text);
