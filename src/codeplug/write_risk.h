// SPDX-License-Identifier: GPL-3.0-or-later
// Whether an image, written to a radio, would leave it without channels or band: the case in
// which the user must be told plainly before anything is sent.
#pragma once

#include "codeplug/radio_image.h"

// True when none of channels 1..channelCount is used, or all three band words are blank.
bool WouldEraseRadio(const RadioImage& image, int channelCount);
