// SPDX-License-Identifier: GPL-3.0-or-later
// What one row of the channel table shows: which cells are locked or shaded, and the text of
// every cell. Pure rules over the image and the settings; the page only paints them.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "codeplug/radio_image.h"
#include "editors/channel_commit.h"

class CHalvexDoc;

// The two setup switches of setting.ini that lock parts of the table.
struct ChannelTableSettings {
    bool companderOff = false;  // settings::kCompander off: column 11 locked everywhere
    bool channelLimit = false;  // settings::kHighChannels off: rows 100 and up locked
    int channelCount = kImageChannelCount;
};

// Reads the compander and high-channel switches from settingsPath; the count is the caller's.
ChannelTableSettings ReadChannelTableSettings(const std::string& settingsPath, int channelCount);

struct ChannelCellState {
    bool locked = false;  // read-only, grey text
    bool shaded = false;  // button-face background
};
using ChannelRowState = std::array<ChannelCellState, kChannelColumnCount>;

// Lock states of columns 1-12 of row n; column 0 stays default.
ChannelRowState ChannelRowLocks(const RadioImage& image, int n,
                                const ChannelTableSettings& settings);

// Language texts the cells show: the tone list (entry 0 the "off" text) and each choice
// column's items.
struct ChannelCellTexts {
    std::vector<std::string> tones;
    std::array<std::vector<std::string>, kChannelColumnCount> choices;
};

// Language keys of a choice column's items in stored-value order; empty for other columns.
const std::vector<const char*>& ChoiceKeys(int column);

// Texts of columns 1-12 of row n (column 0 left empty): nothing for an empty channel.
std::array<std::string, kChannelColumnCount> ChannelRowTexts(const CHalvexDoc& doc, int n,
                                                             const ChannelCellTexts& texts);
