// SPDX-License-Identifier: GPL-3.0-or-later
// Where records and names lie is known to the radio image alone; these pin that layout, which
// every .pgm file and every radio share.
#include "codeplug/radio_image.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <random>
#include <vector>

namespace {

// The switches, tones and step follow the two frequencies of a record.
constexpr size_t kSettingsStart = 8;

std::vector<int> RecordIndices() {
    std::vector<int> indices = {kVfoF1, kVfoF2};
    for (int n = 1; n <= kImageChannelCount; ++n) {
        indices.push_back(n);
    }
    return indices;
}

// Every image byte belongs to at most one channel's record or name, and ChannelAt says which.
TEST(RecordLayout, EveryChannelByteMapsBackToItsChannelAndNoOtherByteDoes) {
    std::map<int, size_t> bytesOf;
    for (size_t offset = 0; offset < kImageSize; ++offset) {
        if (const std::optional<int> n = RadioImage::ChannelAt(offset)) {
            ++bytesOf[*n];
            const size_t record = *RadioImage::RecordOffset(*n);
            const size_t name = *RadioImage::ChannelNameOffset(*n);
            EXPECT_TRUE((offset >= record && offset < record + kRecordSize) ||
                        (offset >= name && offset < name + kChannelNameSize))
                << offset;
        }
    }
    ASSERT_EQ(bytesOf.size(), size_t(kImageChannelCount));
    for (const auto& [n, count] : bytesOf) {
        EXPECT_EQ(count, kRecordSize + kChannelNameSize) << n;
    }
    for (int refused : {-1, 129, 819, 821}) {
        EXPECT_FALSE(RadioImage::RecordOffset(refused)) << refused;
        EXPECT_FALSE(RadioImage::ChannelNameOffset(refused)) << refused;
    }
    EXPECT_FALSE(RadioImage::ChannelNameOffset(kVfoF1));
}

// A record written whole reads back whole and touches no byte outside its place. Cleared
// settings are what a new channel or VFO holds on the radio; a record never written holds 0xFF
// there, which the commit rules must not take for switches that are on.
TEST(RecordLayout, ARecordRoundTripsClearsToTheRadiosNewOneAndChangesOnlyItsOwnBytes) {
    std::mt19937 random(7);
    for (int i : RecordIndices()) {
        const size_t place = *RadioImage::RecordOffset(i);
        const uint8_t step = i == kVfoF1 || i == kVfoF2 ? 0x48 : 0x08;
        const std::array<uint8_t, kRecordSettingsSize> cleared = {0x00, 0x00, 0x00, step, 0x00};
        RadioImage image;
        EXPECT_TRUE(image.AreRecordSettingsUnwritten(i));
        image.ClearRecordSettings(i);
        EXPECT_FALSE(image.AreRecordSettingsUnwritten(i));
        std::array<uint8_t, kRecordSize> record = image.GetRecord(i);
        for (size_t k = 0; k < kRecordSize; ++k) {
            const bool setting = k >= kSettingsStart && k < kSettingsStart + kRecordSettingsSize;
            EXPECT_EQ(record[k], setting ? cleared[k - kSettingsStart] : 0xFF) << i << " " << k;
        }
        for (uint8_t& byte : record) {
            byte = static_cast<uint8_t>(random());
        }
        image.SetRecord(i, record);
        EXPECT_EQ(image.GetRecord(i), record) << i;
        for (size_t offset = 0; offset < kImageSize; ++offset) {
            const bool inside = offset >= place && offset < place + kRecordSize;
            EXPECT_EQ(image.bytes[offset], inside ? record[offset - place] : 0xFF) << i;
        }
    }
    RadioImage image;
    const RadioImage blank = image;
    image.SetRecord(129, {});
    image.SetRecordSettings(-1, {});
    EXPECT_EQ(image.bytes, blank.bytes);
    EXPECT_EQ(image.GetRecord(129), blank.GetRecord(1));
}

}  // namespace
