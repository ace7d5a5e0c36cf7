// SPDX-License-Identifier: GPL-3.0-or-later
// A difference between two images in the words the pages show: the channel table's column
// titles and cell texts, the labels and list entries of the option pages, in the language
// shown. Compare with Radio and Import Configuration list these lines.
#pragma once

#include <string>
#include <vector>

#include "editors/difference_words.h"

// The differences with channel values in the channel table's words.
std::vector<ImageDifference> DiffImagesInLanguage(const CHalvexDoc& first,
                                                  const CHalvexDoc& second);

// The words of the language shown.
DifferenceWording LanguageDifferenceWording();

// "Channel 5, Name: ALPHA → BRAVO", worded by the language file.
std::string DifferenceText(const ImageDifference& difference);
