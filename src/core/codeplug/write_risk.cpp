// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/write_risk.h"

#include <algorithm>

namespace {

constexpr size_t kBandWordsSize = 12;

}  // namespace

bool WouldEraseRadio(const RadioImage& image, int channelCount) {
    auto bandWords = image.bytes.begin() + kBandWordOffset;
    if (std::all_of(bandWords, bandWords + kBandWordsSize, [](uint8_t b) { return b == 0xFF; })) {
        return true;
    }
    for (int n = 1; n <= channelCount; ++n) {
        if (!image.IsChannelEmpty(n)) {
            return false;
        }
    }
    return true;
}

bool HoldsNoReadableChannel(const RadioImage& image) {
    bool used = false;
    for (int n = 1; n <= kImageChannelCount; ++n) {
        if (image.IsChannelEmpty(n)) {
            continue;
        }
        if (image.GetFrequencyText(n, kDecodeSide) != "?") {
            return false;
        }
        used = true;
    }
    return used;
}

std::vector<int> ChannelsInUseBeyond(const RadioImage& image, int channelCount) {
    std::vector<int> channels;
    for (int n = std::max(channelCount, 0) + 1; n <= kImageChannelCount; ++n) {
        if (!image.IsChannelEmpty(n)) {
            channels.push_back(n);
        }
    }
    return channels;
}
