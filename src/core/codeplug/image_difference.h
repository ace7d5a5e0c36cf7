// SPDX-License-Identifier: GPL-3.0-or-later
// What differs between two radio images, in the words of the channel table: one line per
// channel column, VFO column, optional function and FM preset that differs, the band as its
// frequency range, and every other differing byte a write would send as "Other bytes at
// 0xNNNN-0xNNNN". The desktop's Compare
// with Radio and halvex-cli diff both show this list.
#pragma once

#include <string>
#include <vector>

#include "codeplug/channel_columns.h"
#include "codeplug/document.h"

enum class DifferenceKind { Channel, Vfo, Setting, FmPreset, Band, OtherBytes };

struct RadioOptionDefinition;

struct ImageDifference {
    std::string item;    // "Channel 5", "VFO F1", "Settings", "FM preset 3", "Other bytes at ..."
    std::string column;  // the channel table's column or the setting's name; empty for bytes
    std::string first;   // value in the first image (the document, or file A)
    std::string second;  // value in the second image (the radio, or file B)

    // What the line is about, for a front end that words it in its own language.
    DifferenceKind kind = DifferenceKind::OtherBytes;
    int number = 0;     // the channel, VFO (1 or 2) or FM preset
    int columnId = -1;  // the ChannelColumn of a channel or VFO line; -1: the whole channel
    const RadioOptionDefinition* option = nullptr;  // of a setting; none for the PTT-ID code
    int firstValue = 0;                             // a setting's item index in each image
    int secondValue = 0;
    std::string range;  // of other bytes: "0x0F00-0x0F07"
};

// The words of a channel whose other image leaves it unused.
constexpr const char* kUnusedChannelText = "-";
// A used channel's empty cell (no transmit side, no name) must not read as nothing at all.
constexpr const char* kBlankCellText = "(none)";

// All 128 channels (those past channelCount say so in their item), both VFOs, the optional
// functions, the band, the FM presets and then the written range's other bytes, in
// hexadecimal. A channel used in one image only is one line: its frequency and name against
// "-". Channel values are in the words of texts. Empty exactly when the written range is the
// same.
std::vector<ImageDifference> DiffImages(const CHalvexDoc& first, const CHalvexDoc& second,
                                        int channelCount,
                                        const ChannelTexts& texts = EnglishChannelTexts());

// "item, column: first -> second" ("item: first -> second" without a column), as the command
// line prints a difference.
std::string DifferenceLine(const ImageDifference& difference);
