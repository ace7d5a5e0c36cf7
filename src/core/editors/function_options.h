// SPDX-License-Identifier: GPL-3.0-or-later
// Which control of the optional-functions page shows which option of the option table, and
// the entries its list shows: one table for the desktop's page, the browser's page and the
// printed report, so none of them can show an option under another's control.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "codeplug/document.h"
#include "codeplug/ptt_id_code.h"
#include "codeplug/radio_options.h"

struct FunctionControl {
    int controlId;
    const char* option;  // the option table's name
};

// The lists, then the check boxes, in the order the desktop page fills them. The ANI transmit
// box is hidden on the page, yet it shows and keeps its bit like the others.
std::span<const FunctionControl> FunctionControls();

// nullptr for a control that shows no option (the PTT ID code box, a label).
const RadioOptionDefinition* OptionOfControl(int controlId);
// 0 for an option the page does not show.
int OptionControlId(const RadioOptionDefinition& option);

// Where the entries' words come from: the language file of the program that shows them.
struct OptionWording {
    std::function<std::string(const char* key)> text;
    // The items of a list section of the language file.
    std::function<std::vector<std::string>(const char* section)> list;
};

// The entries the page's list of option shows, in wording's words; empty for a switch, which
// the page shows as a check box.
std::vector<std::string> OptionEntries(const RadioOptionDefinition& option,
                                       const OptionWording& wording);
// In the language of the program.
std::vector<std::string> OptionEntries(const RadioOptionDefinition& option);

// Stores entry index (a switch: 0 off, 1 on) of the option controlId shows, marks the
// document modified and names the step; false, and nothing stored, for a control that shows
// no option or an index past its entries. The entry already shown, chosen again, changes no
// byte and makes no step.
bool ChooseOptionEntry(CHalvexDoc& document, int controlId, int index);
// The same for the PTT ID code: only a code that differs from the stored one is a change.
bool StorePttIdCode(CHalvexDoc& document, const PttIdCode& code);
