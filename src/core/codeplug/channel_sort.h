// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting the channel table: the used channels of a list take its places in the order asked
// for and its empty channels follow. Whole slots move (record, name and bitmap bit), so a
// sort only permutes channels and an undo restores the exact bytes.
#pragma once

#include <vector>

#include "codeplug/radio_image.h"

enum class ChannelSortKey { Receive, Name, Number };

struct ChannelSortOrder {
    ChannelSortKey key = ChannelSortKey::Receive;
    bool descending = false;
};

// Sorts the listed channels among their own places. Channels past lastChannel (locked) and
// numbers outside the table stay where they are; channels that compare equal keep their order,
// and used channels without a name come after named ones. Returns the channels that changed.
std::vector<int> SortChannels(RadioImage& image, int lastChannel, const std::vector<int>& channels,
                              ChannelSortOrder order);
