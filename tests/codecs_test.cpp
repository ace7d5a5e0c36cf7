// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/codecs.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using Bcd = std::array<uint8_t, 4>;

TEST(FrequencyTextToValue, FollowsDigitRules) {
    const struct {
        std::string text;
        int32_t value;
    } cases[] = {
        {"146.125", 14612500},
        {"146", 14600000},
        {".5", 50000},
        {"146.1234567", 14612345},
        {"146.1", 14610000},
        {"050.00000", 5000000},
        {"  146.125", 14612500},
        {"+146.125", 14612500},
        {"", 0},
        {"abc", 0},
        {"146.12a", 14612},
        {"1e5", 1},
        {"-146.125", 0},
        {"999.99999", 99999999},
        {"1000", kMaxFrequencyValue},
        {"146.125.5", 146125},
        {"146,52", 14652000},
        {"146,5.2", 146},
        {std::string("1\0002", 3), 1},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(FrequencyTextToValue(entry.text), entry.value) << '"' << entry.text << '"';
    }
}

TEST(FrequencyTextToValue, HugeTextsSaturate) {
    EXPECT_EQ(FrequencyTextToValue(std::string(1 << 20, '9')), kMaxFrequencyValue);
    EXPECT_EQ(FrequencyTextToValue("-" + std::string(1 << 20, '9')), 0);
    EXPECT_EQ(FrequencyTextToValue(std::string(1 << 20, '.')), 0);
    EXPECT_EQ(FrequencyTextToValue(std::string(1 << 20, 'x')), 0);
    EXPECT_EQ(FrequencyTextToValue("146." + std::string(1 << 20, '7')), 14677777);
}

TEST(FormatFrequencyValue, ThreeIntegerDigitsFiveDecimals) {
    EXPECT_EQ(FormatFrequencyValue(14612500), "146.12500");
    EXPECT_EQ(FormatFrequencyValue(5000000), "050.00000");
    EXPECT_EQ(FormatFrequencyValue(0), "000.00000");
    EXPECT_EQ(FormatFrequencyValue(-5), "000.00000");
}

TEST(BcdToFrequencyText, PrintsNibblesAndTreatsHighTopByteAsEmpty) {
    const struct {
        Bcd bytes;
        std::string text;
    } cases[] = {
        {{0x00, 0x25, 0x61, 0x14}, "146.12500"}, {{0x00, 0x00, 0x00, 0x05}, "50.00000"},
        {{0x00, 0x00, 0x00, 0x00}, "00.00000"},  {{0x99, 0x99, 0x99, 0x99}, "999.99999"},
        {{0x00, 0x00, 0x00, 0x9A}, ""},          {{0xFF, 0xFF, 0xFF, 0xFF}, ""},
        {{0xf4, 0x2f, 0x00, 0x17}, "?"},         {{0x0A, 0x00, 0x00, 0x14}, "?"},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(BcdToFrequencyText(entry.bytes.data()), entry.text);
    }
}

TEST(RoundToRaster, SnapsToSixPointTwoFiveFiveOrTwoPointFiveKilohertz) {
    const struct {
        int32_t entry;
        int32_t result;
    } cases[] = {
        {14612500, 14612500},
        {14600625, 14600625},
        {14601000, 14601000},
        {14612300, 14612500},
        {14601200, 14601250},
        {14600700, 14600750},
        {14600550, 14600500},
        {14600125, 14600000},
        {14600126, 14600250},
        {14599999, 14600000},
        {0, 0},
    };
    const FrequencyLimits limits;
    for (const auto& entry : cases) {
        EXPECT_EQ(RoundToRaster(entry.entry, limits), entry.result) << entry.entry;
    }
}

TEST(RoundToRaster, SnapsOutOfBandGapsOnlyWhenTheModelHasThem) {
    FrequencyLimits limits;
    limits.m_FreqMin = 13600000;
    limits.m_FreqMax = 52000000;
    limits.m_Band1Top = 17400000;
    limits.m_Band3Bottom = 22000000;
    limits.m_Band3Top = 26000000;
    limits.m_Band2Bottom = 40000000;

    EXPECT_EQ(RoundToRaster(18000000, limits), 18000000);

    limits.hasGaps = true;
    const struct {
        int32_t entry;
        int32_t result;
    } cases[] = {
        {18000000, 13600000}, {30000000, 22000000}, {17400000, 17400000}, {22000000, 22000000},
        {26000000, 26000000}, {40000000, 40000000}, {14612300, 14612500},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(RoundToRaster(entry.entry, limits), entry.result) << entry.entry;
    }

    limits.m_FreqMin = 20000000;
    EXPECT_EQ(RoundToRaster(30000000, limits), 30000000);
}

TEST(RoundToRaster, StaysInsideEightDigitsForAnyInput) {
    const FrequencyLimits limits;
    for (int32_t entry : {INT32_MAX, INT32_MIN, -1, kMaxFrequencyValue}) {
        const int32_t result = RoundToRaster(entry, limits);
        EXPECT_GE(result, 0);
        EXPECT_LE(result, kMaxFrequencyValue + 1);
    }
}

TEST(FrequencyTextToBcd, PacksRoundedAndUnroundedTexts) {
    const FrequencyLimits limits;
    const struct {
        std::string text;
        bool round;
        Bcd bytes;
    } cases[] = {
        {"146.123", true, {0x00, 0x25, 0x61, 0x14}},
        {"146.12500", false, {0x00, 0x25, 0x61, 0x14}},
        {"000.00000", false, {0x00, 0x00, 0x00, 0x00}},
        {"", false, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"", true, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"46.125", false, {0x00, 0x25, 0x61, 0x04}},
        {"5", false, {0x00, 0x00, 0x50, 0x00}},
        {"zz", false, {0x00, 0x00, 0x00, 0x00}},
        {"-12.5", true, {0x00, 0x00, 0x00, 0x00}},
        {"123456789", false, {0x99, 0x99, 0x99, 0x99}},
        {"999.99999", true, {0x99, 0x99, 0x99, 0x99}},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(FrequencyTextToBcd(entry.text, entry.round, limits), entry.bytes)
            << '"' << entry.text << '"' << entry.round;
    }
}

TEST(FrequencyTextToBcd, StoredTextReadsBackAsFormatted) {
    const FrequencyLimits limits;
    for (int32_t value : {0, 5000000, 14612500, 43312345, 99999999}) {
        const std::string text = FormatFrequencyValue(value);
        const Bcd bytes = FrequencyTextToBcd(text, false, limits);
        EXPECT_EQ(FrequencyTextToValue(BcdToFrequencyText(bytes.data())), value);
    }
    const Bcd stored = FrequencyTextToBcd("146.123", true, limits);
    EXPECT_EQ(BcdToFrequencyText(stored.data()), "146.12500");
}

TEST(CheckFrequencyRange, ReportsTheViolatedLimit) {
    FrequencyLimits limits;
    limits.m_FreqMin = 13600000;
    limits.m_FreqMax = 17400000;
    const struct {
        std::string text;
        int result;
    } cases[] = {
        {"", 0},
        {"136", 0},
        {"174.00000", 0},
        {"174.00001", 1},
        {"135.99999", -1},
        {"junk", -1},
        {std::string(1000, '9'), 1},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(CheckFrequencyRange(entry.text, limits), entry.result) << entry.text;
    }
    EXPECT_EQ(FormatFrequencyLimit(1, limits), "174.00000");
    EXPECT_EQ(FormatFrequencyLimit(-1, limits), "136.00000");
    EXPECT_EQ(FormatFrequencyLimit(0, limits), "136.00000");
}

TEST(Tone, StoresInvertedCodesAsByteAndPolarity) {
    EXPECT_EQ(EncodeTone(155).code, 51);
    EXPECT_TRUE(EncodeTone(155).inverted);
    EXPECT_EQ(EncodeTone(258).code, 154);
    EXPECT_FALSE(EncodeTone(154).inverted);
    EXPECT_EQ(EncodeTone(-1).code, 0);
    EXPECT_EQ(EncodeTone(259).code, 0);
    EXPECT_FALSE(EncodeTone(259).inverted);

    const struct {
        uint8_t code;
        bool inverted;
        int index;
    } cases[] = {
        {51, false, 51}, {51, true, 155}, {155, false, 155}, {155, true, 155},
        {0xFF, true, 0}, {156, false, 0}, {50, true, 50},    {154, true, 258},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(DecodeTone(entry.code, entry.inverted), entry.index) << int(entry.code);
    }
    for (int index = 0; index < kToneCount; ++index) {
        const ToneByte stored = EncodeTone(index);
        EXPECT_EQ(DecodeTone(stored.code, stored.inverted), index);
    }
}

TEST(Tone, ListPositionIsTheToneIndex) {
    const std::vector<std::string> texts = ToneListTexts("Off");
    ASSERT_EQ(texts.size(), static_cast<size_t>(kToneCount));
    EXPECT_EQ(texts[0], "Off");
    EXPECT_EQ(texts[1], "67.0");
    EXPECT_EQ(texts[13], "100.0");
    EXPECT_EQ(texts[50], "254.1");
    EXPECT_EQ(texts[51], "D023N");
    EXPECT_EQ(texts[154], "D754N");
    EXPECT_EQ(texts[155], "D023I");
    EXPECT_EQ(texts[258], "D754I");
}

TEST(ChannelName, EncodesUpToFiveSymbolsAndStopsAtTheFirstOther) {
    using Name = std::array<uint8_t, 5>;
    const struct {
        std::string text;
        Name bytes;
        std::string readBack;
    } cases[] = {
        {"ab-1", {0x0C, 0x0D, 0x0A, 0x01, 0xFF}, "AB-1"},
        {".", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
        {"", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
        {"A.B", {0x0C, 0xFF, 0xFF, 0xFF, 0xFF}, "A"},
        {"Z_+* 9", {0x25, 0x26, 0x27, 0x28, 0x0B}, "Z_+* "},
        {std::string("A\0B", 3), {0x0C, 0xFF, 0xFF, 0xFF, 0xFF}, "A"},
        {"\xC3\xA9", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
    };
    for (const auto& entry : cases) {
        const Name bytes = EncodeChannelName(entry.text);
        EXPECT_EQ(bytes, entry.bytes) << entry.text;
        EXPECT_EQ(DecodeChannelName(bytes.data()), entry.readBack);
    }
    const Name stopped = {0x0C, 41, 0x0D, 0x0E, 0x0F};
    EXPECT_EQ(DecodeChannelName(stopped.data()), "A");
}

TEST(HexToBytes, DecodesPairsWithinTheText) {
    const struct {
        std::string text;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"6013", {0x60, 0x13}}, {"aBcD", {0xAB, 0xCD}}, {"123", {0x12}}, {"1", {}}, {"", {}},
        {"0052", {0x00, 0x52}},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(HexToBytes(entry.text), entry.bytes) << entry.text;
    }
}

}  // namespace
