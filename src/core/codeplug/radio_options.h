// SPDX-License-Identifier: GPL-3.0-or-later
// The radio-wide options, each defined once: its name, the option byte it lives in, its
// choices in English and how it is read and stored. The difference list and the text form
// work from this table, so a new option is added here and in its accessor.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "codeplug/radio_image.h"

// Where an option's choices come from: digits, "Off" then digits, a list of the language
// file (whose English items the table repeats), or a switch.
enum class OptionChoices { Levels, TimeLimits, LanguageList, Switch };

struct RadioOptionDefinition {
    const char* name;  // as the difference list names it: "Squelch", "ScanMode"
    size_t byte;       // from kOptionBase
    OptionChoices kind;
    const char* section;                        // of the language file, for a LanguageList
    std::span<const char* const> englishItems;  // of a LanguageList, by stored value
    int (*value)(const RadioImage& image);      // the choice shown, as its item index
    void (*store)(RadioImage& image, int value);
};

extern const std::span<const RadioOptionDefinition> kRadioOptions;

// The items of an option in English, by stored value.
std::vector<std::string> EnglishOptionItems(const RadioOptionDefinition& option);

// The step list of a VFO in English, by stored value.
std::span<const char* const> EnglishStepItems();
