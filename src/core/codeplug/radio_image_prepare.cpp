// SPDX-License-Identifier: GPL-3.0-or-later
// The areas of the image the radio derives nothing from itself: stamped before every
// transfer and every save, from the channels and presets the user edited.
#include <algorithm>
#include <string_view>

#include "codeplug/radio_image.h"

namespace {

constexpr std::string_view kModelId = "HRQ870";
constexpr int kEmptyFmPreset = 431;
constexpr size_t kBitmapSize = (kImageChannelCount + 7) / 8;

bool Within(size_t offset, size_t begin, size_t size) {
    return offset >= begin && offset < begin + size;
}

}  // namespace

void RadioImage::PrepareImage() {
    std::copy(kModelId.begin(), kModelId.end(), bytes.begin() + kModelIdOffset);

    bool usedChannelSeen = false;
    for (int n = 1; n <= kImageChannelCount; ++n) {
        const bool empty = IsChannelEmpty(n);
        uint8_t& bitmapByte = bytes[kEmptyChannelBitmapOffset + (n - 1) / 8];
        const auto mask = static_cast<uint8_t>(1u << ((n - 1) % 8));
        bitmapByte = empty ? static_cast<uint8_t>(bitmapByte | mask)
                           : static_cast<uint8_t>(bitmapByte & ~mask);
        if (!usedChannelSeen) {
            const auto firstChannel = static_cast<uint8_t>(empty ? 0 : n);
            bytes[kFirstChannelOffset] = firstChannel;
            bytes[kFirstChannelCopyOffset] = firstChannel;
            usedChannelSeen = !empty;
        }
    }

    if (std::optional<int> preset = FirstFmPreset()) {
        bytes[kFirstFmPresetOffset] = static_cast<uint8_t>(*preset - 1);
    }

    bytes[kFmFrequencyCopyOffset] = bytes[kFmFrequencyOffset];
    bytes[kFmFrequencyCopyOffset + 1] = bytes[kFmFrequencyOffset + 1];
}

std::optional<int> RadioImage::FirstFmPreset() const {
    for (int preset = 1; preset <= kFmPresetCount; ++preset) {
        const int word = GetWord(kFmPresetBase, preset);
        if (word >= 0 && word < kEmptyFmPreset) {
            return preset;
        }
    }
    return std::nullopt;
}

bool RadioImage::IsDerivedByte(size_t offset) const {
    return Within(offset, kModelIdOffset, kModelId.size()) ||
           Within(offset, kEmptyChannelBitmapOffset, kBitmapSize) ||
           offset == kFirstChannelOffset || offset == kFirstChannelCopyOffset ||
           Within(offset, kFmFrequencyCopyOffset, 2) ||
           (offset == kFirstFmPresetOffset && FirstFmPreset().has_value());
}
