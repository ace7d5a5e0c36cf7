// SPDX-License-Identifier: GPL-3.0-or-later
// Stores the values of a text into a document through the same commit rules as the pages. A
// value equal to what the document shows is not stored again, so bytes the text form keeps
// verbatim survive a value that reads the same.
#pragma once

#include <string>
#include <vector>

#include "textform/radio_values.h"

struct TextError {
    TextPlace place;
    std::string path;  // "channels.12.receive"; empty for the text as a whole
    std::string message;
};

// Every value that cannot be stored adds an error and is skipped; the others are stored.
void ApplyRadioValues(const RadioValues& values, CHalvexDoc& document,
                      std::vector<TextError>* errors);

// A note for each value of the text the rules stored otherwise than written ("simp" stored
// as "SIMP", 146.521 MHz stored as 146.52000), read back from document once values are in.
void ReportStoredValues(const RadioValues& values, const CHalvexDoc& document,
                        std::vector<TextError>* notes);
