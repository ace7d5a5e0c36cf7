// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/band_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "config/setting_definitions.h"
#include "support/temp_folder.h"

namespace {

TEST(BandLinesTest, FormsEdgesSlotsAndLimits) {
    struct Case {
        const char* line;
        bool multiBand;
        bool usable;
        int lower;
        int upper;
        size_t slot;
        int32_t freqMin;
        int32_t freqMax;
    };
    const Case cases[] = {
        {"6013401700000000", false, true, 136, 174, 0x0F00, 13600000, 17399500},
        {"0040004800000000", false, true, 400, 480, 0x0F04, 40000000, 47999500},
        {"0022002600000000", false, true, 220, 260, 0x0F08, 22000000, 25999500},
        {"00200030FFFFFFFF", false, true, 200, 300, 0x0F04, 20000000, 29999500},
        {"601340170040005200220026", true, true, 136, 174, 0x0F00, 13600000, 51999500},
        {"601340", false, false, 0, 0, 0, 0, 0},
        {"60134017004000520022", true, false, 0, 0, 0, 0, 0},
        {"", false, false, 0, 0, 0, 0, 0},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.line);
        EXPECT_EQ(IsMultiBandLine(testCase.line), testCase.multiBand);
        EXPECT_EQ(IsUsableBandLine(testCase.line), testCase.usable);
        if (!testCase.usable) {
            continue;
        }
        EXPECT_EQ(EdgeMegahertz(testCase.line, 0), testCase.lower);
        EXPECT_EQ(EdgeMegahertz(testCase.line, 1), testCase.upper);
        FrequencyLimits limits = BandLineLimits(testCase.line);
        EXPECT_EQ(limits.m_FreqMin, testCase.freqMin);
        EXPECT_EQ(limits.m_FreqMax, testCase.freqMax);
        EXPECT_EQ(limits.hasGaps, testCase.multiBand);
        if (!testCase.multiBand) {
            EXPECT_EQ(SingleBandWordOffset(testCase.line), testCase.slot);
        }
    }
}

TEST(BandLinesTest, MultiBandLineSetsTheGapLimitsAndAllThreeWords) {
    const std::string line = "601340170040005200220026";
    FrequencyLimits limits = BandLineLimits(line);
    EXPECT_EQ(limits.m_Band1Top, 17400000);
    EXPECT_EQ(limits.m_Band2Bottom, 40000000);
    EXPECT_EQ(limits.m_Band3Bottom, 22000000);
    EXPECT_EQ(limits.m_Band3Top, 26000000);

    BandLineWords words = DecodeBandLineWords(line);
    EXPECT_EQ(words.offset, 0x0F00u);
    EXPECT_EQ(words.bytes, (std::vector<uint8_t>{0x60, 0x13, 0x40, 0x17, 0x00, 0x40, 0x00, 0x52,
                                                 0x00, 0x22, 0x00, 0x26}));

    BandLineWords single = DecodeBandLineWords("0040004800000000");
    EXPECT_EQ(single.offset, 0x0F04u);
    EXPECT_EQ(single.bytes, (std::vector<uint8_t>{0x00, 0x40, 0x00, 0x48}));
}

TEST(BandLinesTest, EdgesBeyondTheLineReadAsZero) {
    EXPECT_EQ(EdgeMegahertz("601340", 1), 0);
    EXPECT_EQ(EdgeMegahertz("6013401700000000", 4), 0);
    EXPECT_EQ(EdgeMegahertz("6013401700000000", -1), 0);
}

TEST(BandLinesTest, ReadingCutsToTheBufferAndStopsAtEmptyKeysAndTheLastLine) {
    halvex::test::TempFolder folder;
    std::string path = folder.Write("models.ini",
                                    "[ModelInfo]\ndata0=601340170040005200220026ABCDEF0123456789\n"
                                    "data1=\ndata16=6013401700000000\n");
    auto ReadBandLine = [](const std::string& file, int k, size_t bufferSize) {
        return settings::kBandLines.Read(file, k, bufferSize);
    };

    std::optional<std::string> matching = ReadBandLine(path, 0, kBandLineMatchBufferSize);
    ASSERT_TRUE(matching.has_value());
    EXPECT_EQ(matching->size(), kBandLineMatchBufferSize - 1);
    std::optional<std::string> limits = ReadBandLine(path, 0, kBandLineLimitsBufferSize);
    ASSERT_TRUE(limits.has_value());
    EXPECT_EQ(limits->size(), 40u);
    EXPECT_FALSE(ReadBandLine(path, 1, kBandLineMatchBufferSize).has_value());
    EXPECT_FALSE(ReadBandLine(path, 2, kBandLineMatchBufferSize).has_value());
    EXPECT_FALSE(ReadBandLine(path, kBandLineCount, kBandLineMatchBufferSize).has_value());
}

}  // namespace
