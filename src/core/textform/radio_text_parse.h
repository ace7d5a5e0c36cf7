// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the YAML text into values: the shape of the file, its keys and its hex. Values are
// checked when they are stored; every unknown key, wrong shape or bad byte is an error here.
#pragma once

#include <string_view>
#include <vector>

#include "textform/radio_apply.h"

// True when the text could be read as a whole; errors may hold problems either way.
bool ParseRadioText(std::string_view text, RadioValues* values, std::vector<TextError>* errors);
