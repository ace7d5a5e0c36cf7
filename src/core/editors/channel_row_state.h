// SPDX-License-Identifier: GPL-3.0-or-later
// Which cells of a channel table row are locked or shaded. Pure rules over the image and the
// settings; the page and the printout only paint them.
#pragma once

#include <array>
#include <string>

#include "codeplug/radio_image.h"
#include "editors/channel_commit.h"

// The two setup switches of setting.ini that lock parts of the table.
struct ChannelTableSettings {
    bool companderOff = false;  // settings::kCompander off: its column locked everywhere
    bool channelLimit = false;  // settings::kHighChannels off: rows 100 and up locked
    int channelCount = kImageChannelCount;
};

// The last channel whole-channel commands may change: 99 while the high channels are locked.
int LastEditableChannel(const ChannelTableSettings& settings);

// Reads the compander and high-channel switches from settingsPath; the count is the caller's.
ChannelTableSettings ReadChannelTableSettings(const std::string& settingsPath, int channelCount);

struct ChannelCellState {
    bool locked = false;  // read-only, grey text
    bool shaded = false;  // button-face background
};
using ChannelRowState = std::array<ChannelCellState, kChannelColumnCount>;

// Lock states of the cells of row n; the channel number stays default.
ChannelRowState ChannelRowLocks(const RadioImage& image, int n,
                                const ChannelTableSettings& settings);
