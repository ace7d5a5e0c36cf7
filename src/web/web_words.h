// SPDX-License-Identifier: GPL-3.0-or-later
// Words the page's editors share: the clamping note of a frequency, and undo step names
// kept as their parts (a language key, control labels, texts of the string table), so Undo
// names a step in the language shown then.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editors/channel_commit.h"

// IDS_CLAMP_HIGH or IDS_CLAMP_LOW filled in; "" for no clamp.
std::string ClampNote(const std::optional<FrequencyClamp>& clamp);

// One argument of a step name: a dialog control's label, or a string table text with %1
// filled.
struct StepPart {
    int controlId = 0;
    std::string key;
    std::string filler;
};
StepPart ControlPart(int controlId);
StepPart TextPart(std::string key, std::string filler);

std::string PageStepName(const std::string& key, const std::vector<StepPart>& parts);
bool IsPageStepName(const std::string& name);
// The step in the language shown now.
std::string PageStepText(const std::string& name);

// A control's label as a step name or an accessible name has it: no mnemonic, no colon.
std::string ControlLabel(int controlId);
