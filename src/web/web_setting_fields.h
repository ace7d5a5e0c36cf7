// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog's fields: the settings of setting.ini a user changes (cable type,
// channel count, time-outs, the check after writing) and its band lines with their names,
// as they stand, and a set of changes checked by the settings' own rules before they are
// used.
#pragma once

#include <string>
#include <vector>

struct SettingField {
    std::string key;    // as the file names it: "channelcount", "Freq0", "data0"
    std::string label;  // a language text, menu marks and all
    // The values a list or a check box stores, by entry; empty for a text box.
    std::vector<std::string> values;
    std::vector<std::string> choices;
    std::string value;  // what the programs read now
};

std::vector<SettingField> SettingFields();

// One band line and its frequency range's name.
struct BandLineField {
    SettingField name;
    SettingField line;
};
std::vector<BandLineField> BandLineFields();

struct SettingEdit {
    std::string key;
    std::string value;
};

// Every value checked first: one the settings would not take refuses them all, with why,
// and the settings stay as they were; else they are the settings from now on. used says
// which it was.
std::string ApplySettingEdits(const std::vector<SettingEdit>& edits, bool* used);
