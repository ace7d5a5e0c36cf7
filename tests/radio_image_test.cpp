// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/radio_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

// Indices no record answers to: all reads give a blank record and writes change nothing.
constexpr int kRefusedIndices[] = {-1, 129, 200, 819, 821, 100000};

// Every record setter, with values that would change a blank or a zeroed record.
void WriteEveryField(RadioImage& image, int i) {
    const FrequencyLimits limits;
    image.SetFrequencyText(i, kDecodeSide, "146.125", limits);
    image.SetFrequencyText(i, kEncodeSide, "000.60000", limits);
    image.SetTone(i, kDecodeSide, 155);
    image.SetTone(i, kEncodeSide, 1);
    image.SetShiftDirection(i, kShiftMinus);
    image.SetReverse(i, false);
    image.SetPowerHigh(i, false);
    image.SetBcl(i, false);
    image.SetBandwidth(i, 1);
    image.SetScanAdd(i, false);
    image.SetPttId(i, false);
    image.SetCompander(i, false);
    image.SetStep(i, 3);
}

void ExpectBlankRecordReads(const RadioImage& image, int i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(image.IsChannelEmpty(i));
    EXPECT_TRUE(image.IsTxAbsent(i));
    EXPECT_TRUE(image.IsOffsetEmpty(i));
    EXPECT_EQ(image.GetFrequencyText(i, kDecodeSide), "");
    EXPECT_EQ(image.GetFrequencyText(i, kEncodeSide), "");
    EXPECT_EQ(image.GetTone(i, kDecodeSide), 0);
    EXPECT_EQ(image.GetTone(i, kEncodeSide), 0);
    EXPECT_EQ(image.GetShiftDirection(i), kShiftNone);
    EXPECT_TRUE(image.GetReverse(i));
    EXPECT_TRUE(image.GetPowerHigh(i));
    EXPECT_TRUE(image.GetBcl(i));
    EXPECT_EQ(image.GetBandwidth(i), 2);
    EXPECT_TRUE(image.GetScanAdd(i));
    EXPECT_TRUE(image.GetPttId(i));
    EXPECT_TRUE(image.GetCompander(i));
    EXPECT_EQ(image.GetStep(i), 0);
}

TEST(RadioImageRecord, BlankImageReadsAsEmptyRecords) {
    const RadioImage image;
    EXPECT_TRUE(std::all_of(image.bytes.begin(), image.bytes.end(),
                            [](uint8_t byte) { return byte == 0xFF; }));
    for (int i : {kVfoF1, kVfoF2, 1, 64, 128}) {
        ExpectBlankRecordReads(image, i);
    }
}

TEST(RadioImageRecord, IndicesSelectTheirRecords) {
    const struct {
        int index;
        size_t offset;
    } cases[] = {{1, 0x1010}, {2, 0x1020}, {128, 0x1800}, {kVfoF1, 0x0830}, {kVfoF2, 0x0820}};
    for (const auto& entry : cases) {
        RadioImage image;
        WriteEveryField(image, entry.index);
        const std::array<uint8_t, kRecordSize> expected = {0x00, 0x25, 0x61, 0x14, 0x00, 0x00,
                                                           0x06, 0x00, 0x97, 0x33, 0x01, 0x21,
                                                           0x03, 0xFF, 0xFF, 0xFF};
        std::array<uint8_t, kRecordSize> record;
        std::copy_n(image.bytes.begin() + entry.offset, kRecordSize, record.begin());
        EXPECT_EQ(record, expected) << entry.index;
        size_t changed = 0;
        for (size_t offset = 0; offset < kImageSize; ++offset) {
            changed += image.bytes[offset] != 0xFF;
        }
        EXPECT_EQ(changed, 13u) << entry.index;
    }
}

TEST(RadioImageRecord, RefusedIndicesReadBlankAndWriteNothing) {
    RadioImage image;
    image.bytes.fill(0x00);
    const std::array<uint8_t, kImageSize> before = image.bytes;
    for (int i : kRefusedIndices) {
        WriteEveryField(image, i);
        image.SetChannelNameBytes(i, {1, 2, 3, 4, 5});
        ExpectBlankRecordReads(image, i);
        const std::array<uint8_t, kChannelNameSize> name = image.GetChannelNameBytes(i);
        EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](uint8_t b) { return b == 0xFF; }));
    }
    for (int n : {0, kVfoF2}) {
        image.SetChannelNameBytes(n, {1, 2, 3, 4, 5});
    }
    EXPECT_EQ(image.bytes, before);
}

TEST(RadioImageRecord, FrequenciesAndTransmitPresence) {
    RadioImage image;
    const FrequencyLimits limits;
    image.SetFrequencyText(1, kDecodeSide, "146.123", limits);
    EXPECT_EQ(image.GetFrequencyText(1, kDecodeSide), "146.12500");
    EXPECT_FALSE(image.IsChannelEmpty(1));
    EXPECT_TRUE(image.IsOffsetEmpty(1));
    EXPECT_FALSE(image.IsTxAbsent(1));

    image.SetFrequencyText(1, kEncodeSide, "146.12500", limits);
    EXPECT_TRUE(image.IsTxAbsent(1));

    // An offset is a distance and must not be pulled onto the channel raster.
    image.SetFrequencyText(1, kEncodeSide, "000.00100", limits);
    EXPECT_EQ(image.GetFrequencyText(1, kEncodeSide), "00.00100");
    EXPECT_FALSE(image.IsOffsetEmpty(1));

    image.SetFrequencyText(1, kEncodeSide, "", limits);
    EXPECT_TRUE(image.IsOffsetEmpty(1));
    image.SetFrequencyText(1, kDecodeSide, "", limits);
    EXPECT_TRUE(image.IsChannelEmpty(1));
}

TEST(RadioImageRecord, FieldsKeepTheirNeighbours) {
    RadioImage image;
    image.bytes.fill(0x00);
    image.SetTone(1, kDecodeSide, 155);
    image.SetTone(1, kEncodeSide, 258);
    EXPECT_EQ(image.bytes[0x1018], 0x30);
    EXPECT_EQ(image.GetTone(1, kDecodeSide), 155);
    EXPECT_EQ(image.GetTone(1, kEncodeSide), 258);
    image.SetTone(1, kDecodeSide, 51);
    EXPECT_EQ(image.bytes[0x1018], 0x20);
    EXPECT_EQ(image.GetTone(1, kDecodeSide), 51);

    image.bytes[0x101B] = 0xFC;
    image.SetShiftDirection(1, kShiftPlus);
    EXPECT_EQ(image.bytes[0x101B], 0xFE);
    image.SetShiftDirection(1, static_cast<ShiftDirection>(7));
    EXPECT_EQ(image.bytes[0x101B], 0xFF);
    EXPECT_EQ(image.GetShiftDirection(1), kShiftNone);

    image.SetReverse(1, false);
    image.SetPttId(1, false);
    EXPECT_EQ(image.bytes[0x101B], 0x7B);
    EXPECT_FALSE(image.GetReverse(1));
    EXPECT_TRUE(image.GetPowerHigh(1));

    image.SetCompander(1, true);
    EXPECT_EQ(image.bytes[0x1018], 0x28);

    image.SetStep(1, 6);
    EXPECT_EQ(image.bytes[0x101C], 6);
    EXPECT_EQ(image.GetStep(1), 0);
    image.SetStep(1, 5);
    EXPECT_EQ(image.GetStep(1), 5);
}

TEST(RadioImageRecord, BandwidthMiddleOverridesNarrow) {
    RadioImage image;
    image.bytes.fill(0x00);
    image.SetBandwidth(1, 2);
    image.SetBandwidth(1, 0);
    EXPECT_EQ(image.GetBandwidth(1), 0);

    image.SetBandwidth(1, 1);
    image.SetBandwidth(1, 2);
    EXPECT_EQ(image.GetBandwidth(1), 2);
    EXPECT_EQ(image.bytes[0x101B], 0x20);
    image.bytes[0x1018] &= static_cast<uint8_t>(~0x40);
    EXPECT_EQ(image.GetBandwidth(1), 1);

    image.SetBandwidth(1, 5);
    EXPECT_EQ(image.GetBandwidth(1), 1);
}

TEST(RadioImageRecord, ChannelNamesLieInTheirOwnTable) {
    RadioImage image;
    image.SetChannelNameBytes(1, {0x0C, 0x0D, 0x0A, 0x01, 0xFF});
    image.SetChannelNameBytes(128, {1, 2, 3, 4, 5});
    EXPECT_EQ(image.bytes[0x0900], 0x0C);
    EXPECT_EQ(image.bytes[0x0B7B], 1);
    EXPECT_EQ(image.bytes[0x0B7F], 5);
    EXPECT_EQ(image.bytes[0x0B80], 0xFF);
    EXPECT_EQ(image.GetChannelNameBytes(128), (std::array<uint8_t, 5>{1, 2, 3, 4, 5}));
}

TEST(RadioImageWord, BigEndianAndBoundedByTheImage) {
    RadioImage image;
    image.SetWord(0x08A0, 2, 0x12345);
    EXPECT_EQ(image.bytes[0x08A2], 0x23);
    EXPECT_EQ(image.bytes[0x08A3], 0x45);
    EXPECT_EQ(image.GetWord(0x08A0, 2), 0x2345);
    EXPECT_EQ(image.bytes[0x08A1], 0xFF);
    EXPECT_EQ(image.bytes[0x08A4], 0xFF);

    image.bytes.fill(0);
    const std::array<uint8_t, kImageSize> before = image.bytes;
    image.SetWord(kImageSize - 1, 1, 0x1234);
    image.SetWord(0x1F00, 0, 0x1234);
    image.SetWord(kImageSize, 1, 0x1234);
    image.SetWord(0, 5000, 0x1234);
    EXPECT_EQ(image.bytes, before);
    EXPECT_EQ(image.GetWord(kImageSize - 1, 1), 0xFFFF);
    EXPECT_EQ(image.GetWord(kImageSize - 2, 1), 0);
}

TEST(PrepareImage, AllChannelsEmpty) {
    RadioImage image;
    image.bytes[0x0D08] = 7;
    image.bytes[0x0D0D] = 7;
    image.bytes[0x0D07] = 9;
    image.bytes[0x0D0B] = 0x12;
    image.bytes[0x0D0C] = 0x34;
    image.PrepareImage();
    EXPECT_EQ(std::memcmp(image.bytes.data() + 0x0D40, "HRQ870", 6), 0);
    EXPECT_EQ(image.bytes[0x0D08], 0);
    EXPECT_EQ(image.bytes[0x0D0D], 0);
    for (size_t offset = 0x0D30; offset < 0x0D40; ++offset) {
        EXPECT_EQ(image.bytes[offset], 0xFF);
    }
    EXPECT_EQ(image.bytes[0x0D07], 9);
    EXPECT_EQ(image.bytes[0x0D09], 0x12);
    EXPECT_EQ(image.bytes[0x0D0A], 0x34);
}

TEST(PrepareImage, UsedChannelsClearBitsAndTheLowestIsFirst) {
    RadioImage image;
    const FrequencyLimits limits;
    image.bytes.fill(0x00);
    for (int n = 1; n <= kImageChannelCount; ++n) {
        image.SetFrequencyText(n, kDecodeSide, "", limits);
    }
    image.SetFrequencyText(5, kDecodeSide, "146.000", limits);
    image.PrepareImage();
    EXPECT_EQ(image.bytes[0x0D08], 5);
    EXPECT_EQ(image.bytes[0x0D0D], 5);
    EXPECT_EQ(image.bytes[0x0D30], 0xEF);
    for (size_t offset = 0x0D31; offset < 0x0D40; ++offset) {
        EXPECT_EQ(image.bytes[offset], 0xFF);
    }

    image.SetFrequencyText(128, kDecodeSide, "146.000", limits);
    image.SetFrequencyText(3, kDecodeSide, "146.000", limits);
    image.PrepareImage();
    EXPECT_EQ(image.bytes[0x0D08], 3);
    EXPECT_EQ(image.bytes[0x0D30], 0xEB);
    EXPECT_EQ(image.bytes[0x0D3F], 0x7F);
}

TEST(PrepareImage, FirstValidFmPreset) {
    const struct {
        std::vector<int> presets;
        int first;
    } cases[] = {
        {{431, 431, 431, 200}, 3},
        {{0}, 0},
        {{431, 430}, 1},
        {{431, 432, 0xFFFF, 431, 431, 431, 431, 431, 431, 431, 431, 431, 431, 431, 431, 5}, 15},
    };
    for (const auto& entry : cases) {
        RadioImage image;
        for (int preset = 1; preset <= kFmPresetCount; ++preset) {
            image.SetWord(kFmPresetBase, preset, 431);
        }
        for (size_t p = 0; p < entry.presets.size(); ++p) {
            image.SetWord(kFmPresetBase, static_cast<int>(p) + 1, entry.presets[p]);
        }
        image.PrepareImage();
        EXPECT_EQ(image.bytes[0x0D07], entry.first);
    }
}

TEST(Options, ReadRulesClampStoredValues) {
    RadioImage image;
    image.bytes[0x0D00] = 0x0F;
    image.bytes[0x0D01] = 0x03;
    image.bytes[0x0D03] = 9;
    image.bytes[0x0D04] = 0xF0;
    image.bytes[0x0D05] = 0x80;
    image.bytes[0x0D06] = 10;
    EXPECT_EQ(image.GetSquelch(), 0);
    EXPECT_EQ(image.GetScanMode(), 2);
    EXPECT_EQ(image.GetTxTimeLimit(), 0);
    EXPECT_EQ(image.GetDisplayF1(), 2);
    EXPECT_EQ(image.GetDisplayF2(), 2);
    EXPECT_TRUE(image.GetSideTone());
    EXPECT_EQ(image.GetVoxLevel(), 0);
    EXPECT_TRUE(image.GetBeep());

    image.bytes[0x0D00] = 9;
    image.bytes[0x0D03] = 7;
    image.bytes[0x0D04] = 0x60;
    EXPECT_EQ(image.GetSquelch(), 9);
    EXPECT_EQ(image.GetTxTimeLimit(), 7);
    EXPECT_EQ(image.GetDisplayF1(), 2);
    EXPECT_EQ(image.GetDisplayF2(), 1);
}

TEST(Options, WritesChangeOnlyTheirField) {
    struct Case {
        const char* name;
        void (*write)(RadioImage&);
        size_t offset;
        uint8_t fromZero;
        uint8_t fromOnes;
    };
    const Case cases[] = {
        {"scan mode 7", [](RadioImage& image) { image.SetScanMode(7); }, 0x0D01, 0x03, 0xFF},
        {"scan mode 1", [](RadioImage& image) { image.SetScanMode(1); }, 0x0D01, 0x01, 0xFD},
        {"freq mode 1", [](RadioImage& image) { image.SetFreqMode(1); }, 0x0D01, 0x80, 0xFF},
        {"freq mode 0", [](RadioImage& image) { image.SetFreqMode(0); }, 0x0D01, 0x00, 0x7F},
        {"beep on", [](RadioImage& image) { image.SetBeep(true); }, 0x0D01, 0x00, 0xEF},
        {"beep off", [](RadioImage& image) { image.SetBeep(false); }, 0x0D01, 0x10, 0xFF},
        {"dual watch", [](RadioImage& image) { image.SetDualWatch(true); }, 0x0D01, 0x04, 0xFF},
        {"end tone", [](RadioImage& image) { image.SetEndTone(false); }, 0x0D01, 0x00, 0xF7},
        {"backlight", [](RadioImage& image) { image.SetBacklight(true); }, 0x0D01, 0x20, 0xFF},
        {"power save", [](RadioImage& image) { image.SetPowerSave(false); }, 0x0D01, 0, 0xBF},
        {"ptt id mode 6", [](RadioImage& image) { image.SetPttIdMode(6); }, 0x0D02, 0x02, 0xFE},
        {"radio", [](RadioImage& image) { image.SetRadioFunction(true); }, 0x0D02, 0x04, 0xFF},
        {"voice", [](RadioImage& image) { image.SetVoicePrompt(false); }, 0x0D02, 0x00, 0xF7},
        {"fm work 2", [](RadioImage& image) { image.SetRadioWorkMode(2); }, 0x0D02, 0x10, 0xFF},
        {"work A 0", [](RadioImage& image) { image.SetWorkModeA(0); }, 0x0D02, 0x00, 0xDF},
        {"work B 1", [](RadioImage& image) { image.SetWorkModeB(1); }, 0x0D02, 0x40, 0xFF},
        {"voice sel 0", [](RadioImage& image) { image.SetVoiceSelect(0); }, 0x0D02, 0, 0x7F},
        {"dual tx 5", [](RadioImage& image) { image.SetDualWatchTx(5); }, 0x0D04, 0x01, 0xFD},
        {"ani", [](RadioImage& image) { image.SetAniTx(true); }, 0x0D04, 0x08, 0xFF},
        {"F1 2", [](RadioImage& image) { image.SetDisplayF1(2); }, 0x0D04, 0x20, 0xEF},
        {"F1 -1", [](RadioImage& image) { image.SetDisplayF1(-1); }, 0x0D04, 0x30, 0xFF},
        {"F2 1", [](RadioImage& image) { image.SetDisplayF2(1); }, 0x0D04, 0x40, 0x7F},
        {"F2 4", [](RadioImage& image) { image.SetDisplayF2(4); }, 0x0D04, 0x00, 0x3F},
        {"side tone", [](RadioImage& image) { image.SetSideTone(true); }, 0x0D05, 0x01, 0x01},
        {"side off", [](RadioImage& image) { image.SetSideTone(false); }, 0x0D05, 0x00, 0x00},
        {"squelch 12", [](RadioImage& image) { image.SetSquelch(12); }, 0x0D00, 12, 12},
        {"time limit", [](RadioImage& image) { image.SetTxTimeLimit(3); }, 0x0D03, 3, 3},
        {"vox", [](RadioImage& image) { image.SetVoxLevel(9); }, 0x0D06, 9, 9},
    };
    for (const Case& entry : cases) {
        for (uint8_t fill : {uint8_t{0x00}, uint8_t{0xFF}}) {
            RadioImage image;
            image.bytes.fill(fill);
            std::array<uint8_t, kImageSize> expected = image.bytes;
            expected[entry.offset] = fill == 0 ? entry.fromZero : entry.fromOnes;
            entry.write(image);
            EXPECT_EQ(image.bytes, expected) << entry.name << " over " << int(fill);
        }
    }
}

TEST(Options, PttIdCodeIsSixBytesAtItsPlace) {
    RadioImage image;
    const std::array<uint8_t, kPttIdCodeSize> code = {1, 2, 10, 11, 0xFF, 0xFF};
    image.SetPttIdCode(code);
    EXPECT_EQ(image.GetPttIdCode(), code);
    EXPECT_EQ(image.bytes[0x0D20], 1);
    EXPECT_EQ(image.bytes[0x0D23], 11);
    EXPECT_EQ(image.bytes[0x0D1F], 0xFF);
    EXPECT_EQ(image.bytes[0x0D26], 0xFF);
}

TEST(TestItems, MapIntoTheTestRegionOnly) {
    const struct {
        int item;
        size_t offset;
    } cases[] = {{0, 0x0FE0},  {15, 0x0FEF}, {16, 0x0FF0}, {31, 0x0FFF},
                 {32, 0x0FC0}, {41, 0x0FC9}, {42, 0x0FD0}, {57, 0x0FDF}};
    for (const auto& entry : cases) {
        RadioImage image;
        image.SetTestItem(entry.item, 0x1234);
        EXPECT_EQ(image.bytes[entry.offset], 0x34) << entry.item;
        EXPECT_EQ(image.GetTestItem(entry.item), 0x34);
    }

    RadioImage image;
    image.bytes.fill(0);
    for (int item = 0; item < kTestItemCount; ++item) {
        image.SetTestItem(item, 1);
    }
    for (size_t offset = 0; offset < kImageSize; ++offset) {
        const bool inItems =
            offset >= 0x0FC0 && offset <= 0x0FFF && !(offset >= 0x0FCA && offset <= 0x0FCF);
        EXPECT_EQ(image.bytes[offset], inItems ? 1 : 0) << offset;
    }

    const std::array<uint8_t, kImageSize> before = image.bytes;
    for (int item : {-1, 58, 59, 1000}) {
        EXPECT_FALSE(RadioImage::IsTestItem(item));
        image.SetTestItem(item, 7);
        EXPECT_EQ(image.GetTestItem(item), 0xFF);
    }
    EXPECT_EQ(image.bytes, before);
}

}  // namespace
