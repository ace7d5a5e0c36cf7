// SPDX-License-Identifier: GPL-3.0-or-later
// A difference between two images in the words the pages show: the channel table's column
// titles and cell texts, the labels and list entries of the option pages, in the language
// shown. Compare with Radio and Import Configuration list these lines, on the desktop and in
// the browser.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/image_difference.h"

// Where the words come from: the language file of the program that shows them.
struct DifferenceWording {
    std::function<std::string(const char* key)> text;
    // The items of a list section of the language file.
    std::function<std::vector<std::string>(const char* section)> list;
    // A dialog control's label, without mnemonic or colon.
    std::function<std::string(int controlId)> controlLabel;
    // A channel table column's header on one line.
    std::function<std::string(int column)> columnHeader;
};

// The entry of an option's list the page shows for index, or the switch's On or Off.
std::string OptionItemWords(const RadioOptionDefinition& option, int index,
                            const DifferenceWording& wording);

// "Channel 5, Name: ALPHA → BRAVO", worded by the language file.
std::string DifferenceText(const ImageDifference& difference, const DifferenceWording& wording);

// What importing a whole radio's image (and its file header) would change in document. The
// import makes the derived areas as a save would; they follow from the changes the list
// names, so the list compares the values only.
std::vector<ImageDifference> ImportDifferences(const CHalvexDoc& document,
                                               const std::array<uint8_t, kPgmHeaderSize>& header,
                                               const std::array<uint8_t, kImageSize>& image,
                                               const ChannelTexts& texts);
