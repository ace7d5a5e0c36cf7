// SPDX-License-Identifier: GPL-3.0-or-later
// What differs between two radio images, in the words of the channel table: one line per
// channel column, VFO column, optional function and FM preset that differs, and every other
// differing byte a write would send as "Other bytes at 0xNNNN-0xNNNN". The desktop's Compare
// with Radio and halvex-cli diff both show this list.
#pragma once

#include <string>
#include <vector>

#include "codeplug/document.h"

struct ImageDifference {
    std::string item;    // "Channel 5", "VFO F1", "Settings", "FM preset 3", "Other bytes at ..."
    std::string column;  // the channel table's column or the setting's name; empty for bytes
    std::string first;   // value in the first image (the document, or file A)
    std::string second;  // value in the second image (the radio, or file B)
};

// All 128 channels (those past channelCount say so in their item), both VFOs, the optional
// functions, the FM presets and then the written range's other bytes, in hexadecimal; an
// unused channel shows "-" in every column. Empty exactly when the written range is the same.
std::vector<ImageDifference> DiffImages(const CHalvexDoc& first, const CHalvexDoc& second,
                                        int channelCount);

// "item, column: first -> second" ("item: first -> second" without a column), as the command
// line prints a difference.
std::string DifferenceLine(const ImageDifference& difference);
