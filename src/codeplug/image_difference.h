// What differs between two radio images, in the words of the channel table: one line per
// channel column, VFO column, optional function and FM preset that differs. The desktop's
// Compare with Radio and halvex-cli diff both show this list.
#pragma once

#include <string>
#include <vector>

#include "codeplug/document.h"

struct ImageDifference {
    std::string item;    // "Channel 5", "VFO F1", "Settings", "FM preset 3"
    std::string column;  // the channel table's column or the setting's name
    std::string first;   // value in the first image (the document, or file A)
    std::string second;  // value in the second image (the radio, or file B)
};

// Channels 1..channelCount, both VFOs, the optional functions and the FM presets; an unused
// channel shows "-" in every column. Empty when the two hold the same.
std::vector<ImageDifference> DiffImages(const CHalvexDoc& first, const CHalvexDoc& second,
                                        int channelCount);

// "item, column: first -> second", as the command line prints a difference.
std::string DifferenceLine(const ImageDifference& difference);
