// SPDX-License-Identifier: GPL-3.0-or-later
// The FM presets dialog's words the desktop takes from its template and grid: the title,
// each preset row's name and the frequency list's label. The dialog's rules are the core's
// FmPresetsEdit.
#pragma once

#include <string>
#include <vector>

std::string FmPresetsTitle();
std::vector<std::string> FmPresetRowNames();
std::string FmFrequencyLabel();
