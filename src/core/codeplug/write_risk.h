// SPDX-License-Identifier: GPL-3.0-or-later
// Whether an image, written to a radio, would leave it without channels or band: the case in
// which the user must be told plainly before anything is sent.
#pragma once

#include <vector>

#include "codeplug/radio_image.h"

// True when none of channels 1..channelCount is used, or all three band words are blank.
bool WouldEraseRadio(const RadioImage& image, int channelCount);

// True when channels are in use and not one of them holds a receive frequency that reads as
// a number: random bytes or another radio's memory, not a program for this one.
bool HoldsNoReadableChannel(const RadioImage& image);

// The channels in use above channelCount, which a table of channelCount rows does not show.
std::vector<int> ChannelsInUseBeyond(const RadioImage& image, int channelCount);
