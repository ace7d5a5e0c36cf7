// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a file can serve as setting.ini, and what in it the programs cannot use: a file
// that is no settings text is refused, a value out of its range is named with the range, and
// a missing [setup] section or band line is said once. Reads the file; changes nothing.
#pragma once

#include <string>
#include <vector>

#include "config/setting_definitions.h"

struct BadSettingValue {
    const IntSetting* setting;
    std::string value;  // as the file has it, cut and with control characters replaced
};

struct SettingsCheck {
    // Why the file cannot be used at all (unreadable, binary, a radio data file, text in no
    // known encoding); empty when it can.
    std::string refusal;
    std::vector<BadSettingValue> badValues;
    // What is missing and left at its defaults, in words for the user.
    std::vector<std::string> notes;
};

// Notes name the file as shownName (its path when empty); a refusal always gives the path.
SettingsCheck CheckSettingsFile(const std::string& path, const std::string& shownName = {});

// "path: readtime=-5 is not allowed: readtime takes a whole number from 1 to 600000", and with
// replaced, "...; 50 is used instead" for a program that goes on with the default.
std::string BadValueMessage(const std::string& path, const BadSettingValue& bad, bool replaced);
