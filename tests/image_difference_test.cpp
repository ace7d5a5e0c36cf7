// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/image_difference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "codeplug/band_lines.h"
#include "codeplug/pgm_file.h"
#include "config/settings.h"
#include "support/quiet_prompts.h"

namespace {

const std::string kDataDir = HALVEX_TEST_DATA_DIR;

// Every byte a write sends counts: the list is empty exactly when the written range is equal,
// and what no field names comes out by address.
TEST(ImageDifferenceTest, EveryWrittenByteThatDiffersIsListed) {
    PgmFile file;
    std::string error;
    ASSERT_EQ(LoadPgmFile(kDataDir + "/pgm/v1_05_channels.pgm", &file, &error),
              PgmLoadResult::Loaded);
    halvex::test::QuietPrompts prompts;
    CHalvexDoc first(prompts, DocumentSettingsFor(kDataDir + "/settings/single_bands.ini", 10));
    CHalvexDoc second(first);
    first.EditImage().bytes = file.image;
    auto lines = [&] {
        std::string text;
        for (const ImageDifference& difference : DiffImages(first, second, 10)) {
            text += DifferenceLine(difference) + "\n";
        }
        return text;
    };
    std::mt19937 random(870);
    for (int round = 0; round < 300; ++round) {
        second.EditImage().bytes = first.Image().bytes;
        for (int k = static_cast<int>(random() % 4); k > 0; --k) {
            second.EditImage().bytes[random() % kImageSize] ^=
                static_cast<uint8_t>(1 + random() % 255);
        }
        bool written =
            !std::equal(first.Image().bytes.begin() + kCloneBegin, first.Image().bytes.end(),
                        second.Image().bytes.begin() + kCloneBegin);
        EXPECT_EQ(!lines().empty(), written) << "round " << round;
    }
    // Channel 3 is unused, so its bytes can only come out as bytes.
    for (size_t offset : {kModelIdOffset, kTestDataOffset + 3, kChannelRecordBase + 16 * 3 + 15}) {
        second.EditImage().bytes = first.Image().bytes;
        second.EditImage().bytes[offset] ^= 0x11;
        char expected[40];
        std::snprintf(expected, sizeof expected, "Other bytes at 0x%04zX-0x%04zX: ", offset,
                      offset);
        EXPECT_EQ(lines().rfind(expected, 0), 0u) << lines();
    }
    // A channel used on one side only is one line, also one the settings do not show; a band
    // change is its frequency range, not its bytes.
    struct Case {
        const char* name;
        std::function<void(RadioImage&)> change;
        std::string lines;
    };
    const Case cases[] = {
        {"channel added beyond the count",
         [&](RadioImage& image) {
             std::copy_n(first.Image().bytes.begin() + kChannelRecordBase + kRecordSize,
                         kRecordSize, image.bytes.begin() + kChannelRecordBase + kRecordSize * 50);
         },
         "Channel 50 (beyond channelcount 10): - -> 146.12500\n"},
        {"channel removed",
         [&](RadioImage& image) {
             std::fill_n(image.bytes.begin() + kChannelRecordBase + kRecordSize, kRecordSize, 0xFF);
         },
         "Channel 1: 146.12500 AB-1 -> -\n"},
        {"band changed",
         [&](RadioImage& image) {
             BandLineWords words = DecodeBandLineWords("0040004800000000");
             std::copy(words.bytes.begin(), words.bytes.end(),
                       image.bytes.begin() + static_cast<std::ptrdiff_t>(words.offset));
         },
         "Frequency range: 136-174 MHz -> 400-480 MHz\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        second.EditImage().bytes = first.Image().bytes;
        RadioImage changed;
        changed.bytes = first.Image().bytes;
        c.change(changed);
        second.EditImage().bytes = changed.bytes;
        EXPECT_EQ(lines(), c.lines);
    }
}

}  // namespace
