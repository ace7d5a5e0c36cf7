// SPDX-License-Identifier: GPL-3.0-or-later
// The channel table's commit rules and row states on a document with the 136-174 MHz band.
#include "editors/channel_commit.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <vector>

#include "codeplug/document.h"
#include "codeplug/radiogram_codes.h"
#include "config/app_globals.h"
#include "config/settings.h"
#include "editors/channel_row_state.h"
#include "support/module_folder.h"
#include "support/program_globals.h"
#include "support/quiet_prompts.h"

namespace {

std::vector<uint8_t> RecordBytes(const CHalvexDoc& doc, int n, size_t first, size_t count) {
    auto start = doc.Image().bytes.begin() + static_cast<ptrdiff_t>(0x1000 + 16 * n + first);
    return {start, start + static_cast<ptrdiff_t>(count)};
}

class ChannelCommitTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSettings("compander=1\nchannel=1\n");
        m_Doc.SetSettings(DocumentSettingsFor(g_SettingsPath, 128));
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        m_Doc.SetModifiedFlag(false);
    }

    void WriteSettings(const std::string& setup) {
        m_Folder.Write(
            "setting.ini",
            "[setup]\n" + setup + "[ModelInfo]\nFreq0=136-174MHz\ndata0=6013401700000000\n");
        SetModuleDir(m_Folder.Path());
    }

    // Channel n with receive rx and the transmit column entry tx, the flag cleared.
    void MakeChannel(int n, const std::string& rx, const std::string& tx) {
        CommitReceiveFrequency(m_Doc, n, rx);
        CommitTransmitFrequency(m_Doc, n, tx);
        m_Doc.SetModifiedFlag(false);
    }

    halvex::test::ModuleFolder m_Folder;
    halvex::test::UseLanguagePath m_Language{m_Folder.File("none.lang")};
    halvex::test::QuietPrompts m_Prompts;
    CHalvexDoc m_Doc{m_Prompts, DocumentSettings{}};
};

TEST_F(ChannelCommitTest, ReceiveEntries) {
    struct Case {
        const char* name;
        const char* rx;  // receive before, "" for an empty channel
        const char* tx;  // transmit column before
        const char* entry;
        const char* storedRx;
        const char* offset;  // as read back: the top BCD byte prints without a leading zero
        ShiftDirection direction;
        const char* shownTx;
    };
    const Case cases[] = {
        {"first frequency", "", "", "146.123", "146.12500", "00.00000", kShiftNone, "146.12500"},
        {"above the band", "", "", "180", "173.99500", "00.00000", kShiftNone, "173.99500"},
        {"below the band", "", "", "100", "136.00000", "00.00000", kShiftNone, "136.00000"},
        {"keeps transmit", "146.12500", "146.72500", "146", "146.00000", "00.72500", kShiftPlus,
         "146.72500"},
        {"keeps transmit below", "146.12500", "145.52500", "147", "147.00000", "01.47500",
         kShiftMinus, "145.52500"},
        {"keeps no transmit", "146.12500", "", "150", "150.00000", "150.00000", kShiftMinus, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        if (*c.rx != '\0') {
            MakeChannel(7, c.rx, c.tx);
        }
        m_Doc.SetModifiedFlag(false);
        CommitReceiveFrequency(m_Doc, 7, c.entry);
        EXPECT_EQ(m_Doc.Image().GetFrequencyText(7, kDecodeSide), c.storedRx);
        EXPECT_EQ(m_Doc.Image().GetFrequencyText(7, kEncodeSide), c.offset);
        EXPECT_EQ(m_Doc.Image().GetShiftDirection(7), c.direction);
        EXPECT_EQ(ShownTransmitText(m_Doc, 7), c.shownTx);
        EXPECT_TRUE(m_Doc.IsModified());
    }
    EXPECT_EQ(RecordBytes(m_Doc, 7, 0, 4), (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x15}));
}

TEST_F(ChannelCommitTest, FirstFrequencyOfAnEmptyRecordWithAStrayOffset) {
    m_Doc.SetFrequencyText(3, kEncodeSide, "000.60000");
    CommitReceiveFrequency(m_Doc, 3, "146.123");
    EXPECT_EQ(RecordBytes(m_Doc, 3, 0, 8),
              (std::vector<uint8_t>{0x00, 0x25, 0x61, 0x14, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(m_Doc.Image().GetShiftDirection(3), kShiftNone);
    EXPECT_FALSE(m_Doc.Image().IsTxAbsent(3));
}

// A record the radio never wrote is all 0xFF, which reads as reverse, BCL, PTT ID and the
// compander on; its first frequency starts it as a cleared channel instead.
TEST_F(ChannelCommitTest, FirstFrequencyOfARecordTheRadioNeverWrote) {
    const auto record = m_Doc.EditImage().bytes.begin() + 0x1000 + 16 * 5;
    std::fill_n(record, 16, 0xFF);
    CommitReceiveFrequency(m_Doc, 5, "146.125");
    EXPECT_EQ(RecordBytes(m_Doc, 5, 8, 5), (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x08, 0x00}));
    EXPECT_FALSE(m_Doc.Image().GetReverse(5));
    EXPECT_EQ(ShownTransmitText(m_Doc, 5), "146.12500");

    // Settings already written stay as they are, and so do a used channel's.
    std::fill_n(record + 16, 16, 0xFF);
    record[16 + 11] = 0x1C;  // BCL, power high, reverse
    CommitReceiveFrequency(m_Doc, 6, "146.125");
    EXPECT_EQ(RecordBytes(m_Doc, 6, 11, 1), (std::vector<uint8_t>{0x1C}));
    std::fill_n(record + 8, 5, 0xFF);
    CommitReceiveFrequency(m_Doc, 5, "147");
    EXPECT_EQ(RecordBytes(m_Doc, 5, 8, 3), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(m_Doc.Image().GetReverse(5));
}

TEST_F(ChannelCommitTest, OutOfBandEntriesReportTheirClamp) {
    struct Case {
        const char* entry;
        bool transmit;
        bool clamped;
        bool above;
        const char* stored;
    };
    const Case cases[] = {
        {"180", false, true, true, "173.99500"}, {"100", false, true, false, "136.00000"},
        {"200", true, true, true, "173.99500"},  {"50", true, true, false, "136.00000"},
        {"146.5", false, false, false, ""},      {"", false, false, false, ""},
        {"146.5", true, false, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.entry) + (c.transmit ? " transmit" : " receive"));
        MakeChannel(2, "146.125", "146.125");
        const std::optional<FrequencyClamp> clamp = c.transmit
                                                        ? CommitTransmitFrequency(m_Doc, 2, c.entry)
                                                        : CommitReceiveFrequency(m_Doc, 2, c.entry);
        ASSERT_EQ(clamp.has_value(), c.clamped);
        if (c.clamped) {
            EXPECT_EQ(clamp->entry, c.entry);
            EXPECT_EQ(clamp->stored, c.stored);
            EXPECT_EQ(clamp->above, c.above);
            EXPECT_EQ(clamp->lowest, "136.00000");
            EXPECT_EQ(clamp->highest, "173.99500");
            EXPECT_EQ(c.transmit ? ShownTransmitText(m_Doc, 2)
                                 : m_Doc.Image().GetFrequencyText(2, kDecodeSide),
                      c.stored);
        }
    }
}

TEST_F(ChannelCommitTest, TransmitEntries) {
    struct Case {
        const char* name;
        const char* entry;
        const char* offset;
        ShiftDirection direction;
        const char* shownTx;
    };
    const Case cases[] = {
        {"above", "146.725", "00.60000", kShiftPlus, "146.72500"},
        {"below", "145.525", "00.60000", kShiftMinus, "145.52500"},
        {"same", "146.125", "00.00000", kShiftNone, "146.12500"},
        {"rounded like receive", "146.7261", "00.60000", kShiftPlus, "146.72500"},
        {"clamped", "200", "27.87000", kShiftPlus, "173.99500"},
        {"cleared", "", "146.12500", kShiftMinus, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeChannel(9, "146.125", "146.125");
        m_Doc.EditImage().SetTone(9, kEncodeSide, 5);
        CommitTransmitFrequency(m_Doc, 9, c.entry);
        EXPECT_EQ(m_Doc.Image().GetFrequencyText(9, kDecodeSide), "146.12500");
        EXPECT_EQ(m_Doc.Image().GetFrequencyText(9, kEncodeSide), c.offset);
        EXPECT_EQ(m_Doc.Image().GetShiftDirection(9), c.direction);
        EXPECT_EQ(ShownTransmitText(m_Doc, 9), c.shownTx);
        EXPECT_EQ(m_Doc.Image().GetTone(9, kEncodeSide), *c.entry == '\0' ? 0 : 5);
        EXPECT_EQ(m_Doc.IsModified(), std::string(c.name) != "same");
    }
}

TEST_F(ChannelCommitTest, TransmitEntryLeavesAnOffRasterReceiveAlone) {
    const std::vector<uint8_t> offRaster = {0x00, 0x23, 0x61, 0x14};  // 146.12300
    std::copy(offRaster.begin(), offRaster.end(),
              m_Doc.EditImage().bytes.begin() + 0x1000 + 16 * 4);
    m_Doc.SetFrequencyText(4, kEncodeSide, "000.00000");
    CommitTransmitFrequency(m_Doc, 4, "146.723");
    EXPECT_EQ(RecordBytes(m_Doc, 4, 0, 4), offRaster);
    EXPECT_EQ(m_Doc.Image().GetFrequencyText(4, kEncodeSide), "00.60200");
    EXPECT_EQ(m_Doc.Image().GetShiftDirection(4), kShiftPlus);
}

TEST_F(ChannelCommitTest, ClearingAChannelEmptiesItsRecord) {
    MakeChannel(12, "146.125", "146.725");
    m_Doc.EditImage().SetTone(12, kDecodeSide, 60);
    m_Doc.EditImage().SetBandwidth(12, 2);
    CommitChannelName(m_Doc, 12, "AB");
    m_Doc.SetModifiedFlag(false);

    CommitReceiveFrequency(m_Doc, 12, "");
    EXPECT_TRUE(m_Doc.Image().IsChannelEmpty(12));
    EXPECT_TRUE(m_Doc.Image().IsOffsetEmpty(12));
    EXPECT_EQ(RecordBytes(m_Doc, 12, 8, 5), (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x08, 0x00}));
    EXPECT_EQ(m_Doc.Image().GetChannelNameBytes(12),
              (std::array<uint8_t, 5>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(m_Doc.IsModified());
}

TEST_F(ChannelCommitTest, EveryChangeMarksTheDocumentAndNoChangeDoesNot) {
    MakeChannel(2, "146.125", "146.125");
    struct Case {
        const char* name;
        std::function<void()> edit;
        bool modified;
    };
    const Case cases[] = {
        {"power low", [&] { CommitChoice(m_Doc, 2, kColumnPower, 0); }, true},
        {"power low again", [&] { CommitChoice(m_Doc, 2, kColumnPower, 0); }, false},
        {"middle bandwidth", [&] { CommitChoice(m_Doc, 2, kColumnBandwidth, 2); }, true},
        {"compander on", [&] { CommitChoice(m_Doc, 2, kColumnCompander, 1); }, true},
        {"transmit above", [&] { CommitTransmitFrequency(m_Doc, 2, "146.725"); }, true},
        {"same receive", [&] { CommitReceiveFrequency(m_Doc, 2, "146.12500"); }, false},
        {"name", [&] { CommitChannelName(m_Doc, 2, "ab-1"); }, true},
        {"same name", [&] { CommitChannelName(m_Doc, 2, "AB-1"); }, false},
        {"choice on an empty channel", [&] { CommitChoice(m_Doc, 3, kColumnCompander, 1); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Doc.SetModifiedFlag(false);
        c.edit();
        EXPECT_EQ(m_Doc.IsModified(), c.modified);
    }
    EXPECT_FALSE(m_Doc.Image().GetPowerHigh(2));
    EXPECT_EQ(m_Doc.Image().GetBandwidth(2), 2);
    EXPECT_TRUE(m_Doc.Image().GetCompander(2));
    EXPECT_EQ(m_Doc.Image().GetChannelNameBytes(2),
              (std::array<uint8_t, 5>{0x0C, 0x0D, 0x0A, 0x01, 0xFF}));
    EXPECT_EQ(RecordBytes(m_Doc, 3, 8, 1), (std::vector<uint8_t>{0x00}));
}

TEST_F(ChannelCommitTest, RowLocks) {
    MakeChannel(1, "146.125", "146.125");
    MakeChannel(2, "146.125", "");
    MakeChannel(99, "146.125", "146.125");
    MakeChannel(100, "146.125", "146.125");
    struct Case {
        const char* name;
        int n;
        ChannelTableSettings settings;
        const char* locked;  // columns 1-12, L locked, S locked and shaded, . open
    };
    const Case cases[] = {
        {"used", 1, {false, false, 128}, "............"},
        {"no transmit", 2, {false, false, 128}, "...L........"},
        {"empty", 3, {false, false, 128}, ".LLLLLLLLLLL"},
        {"compander off", 1, {true, false, 128}, "..........S."},
        {"compander off, empty", 3, {true, false, 128}, ".LLLLLLLLLSL"},
        {"channel limit, row 99", 99, {false, true, 128}, "............"},
        {"channel limit, row 100", 100, {false, true, 128}, "SSSSSSSSSSSS"},
        {"channel limit, empty row 128", 128, {false, true, 128}, "SSSSSSSSSSSS"},
        {"channel limit, 99 channels", 99, {false, true, 99}, "............"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelRowState state = ChannelRowLocks(m_Doc.Image(), c.n, c.settings);
        std::string shown;
        for (int column = 1; column < kChannelColumnCount; ++column) {
            shown += state[column].shaded ? 'S' : state[column].locked ? 'L' : '.';
        }
        EXPECT_EQ(shown, c.locked);
    }
}

TEST_F(ChannelCommitTest, SettingsAreReadFromTheSetupSection) {
    WriteSettings("compander=0x\nchannel=01\n");
    ChannelTableSettings settings = ReadChannelTableSettings(g_SettingsPath, 128);
    EXPECT_TRUE(settings.companderOff);
    EXPECT_TRUE(settings.channelLimit);
    WriteSettings("language=english\n");
    settings = ReadChannelTableSettings(g_SettingsPath, 128);
    EXPECT_FALSE(settings.companderOff);
    EXPECT_FALSE(settings.channelLimit);
}

// Each choice a column stores shows as its item, and choosing that item again stores the same
// bytes and touches no other column; the other cells show the record's fields.
TEST_F(ChannelCommitTest, EveryColumnShowsWhatItStores) {
    const ChannelTexts& texts = EnglishChannelTexts();
    MakeChannel(5, "146.125", "");
    m_Doc.EditImage().SetTone(5, kDecodeSide, 155);
    m_Doc.EditImage().SetTone(5, kEncodeSide, 13);
    CommitChannelName(m_Doc, 5, "ab-1");
    const ChannelRow expected = {"5",    "146.12500", "D023I", "",    "",    "High", "Off",
                                 "Wide", "Off",       "Off",   "Off", "Off", "AB-1"};
    EXPECT_EQ(ChannelRowTexts(m_Doc, 5, texts), expected);
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        if (column.kind != ColumnKind::Choice) {
            continue;
        }
        SCOPED_TRACE(column.name);
        const std::vector<std::string>& items = texts.choices[column.id];
        ASSERT_EQ(items.size(), column.choices.size());
        for (int value = static_cast<int>(items.size()) - 1; value >= 0; --value) {
            std::array<int, kChannelColumnCount> others{};
            for (int other = 0; other < kChannelColumnCount; ++other) {
                others[other] = other == column.id ? value : ChoiceValue(m_Doc.Image(), 5, other);
            }
            CommitChoice(m_Doc, 5, column.id, value);
            const std::vector<uint8_t> stored = RecordBytes(m_Doc, 5, 0, 16);
            const std::string shown = ChannelRowTexts(m_Doc, 5, texts)[column.id];
            EXPECT_EQ(shown, column.choices[static_cast<size_t>(value)].english);
            const auto item = std::find(items.begin(), items.end(), shown) - items.begin();
            CommitChoice(m_Doc, 5, column.id, static_cast<int>(item));
            EXPECT_EQ(RecordBytes(m_Doc, 5, 0, 16), stored);
            for (int other = 0; other < kChannelColumnCount; ++other) {
                EXPECT_EQ(ChoiceValue(m_Doc.Image(), 5, other), others[other]) << other;
            }
        }
    }
    CommitTransmitFrequency(m_Doc, 5, "146.725");
    EXPECT_EQ(ChannelRowTexts(m_Doc, 5, texts)[kColumnEncode], "100.0");
    // Whatever a record holds, each choice cell shows one of its items, and choosing it again
    // leaves every byte as it was.
    std::mt19937 random(28);
    for (int round = 0; round < 200; ++round) {
        auto settings = m_Doc.EditImage().bytes.begin() + 0x1000 + 16 * 5 + 4;
        std::generate(settings, settings + 12, [&random] { return random() & 0xFF; });
        const std::vector<uint8_t> before = RecordBytes(m_Doc, 5, 0, 16);
        const ChannelRow row = ChannelRowTexts(m_Doc, 5, texts);
        for (const ChannelColumnDefinition& column : kChannelColumns) {
            const std::vector<std::string>& items = texts.choices[column.id];
            const auto item = std::find(items.begin(), items.end(), row[column.id]);
            ASSERT_EQ(item == items.end(), column.kind != ColumnKind::Choice) << column.name;
            CommitChoice(m_Doc, 5, column.id, static_cast<int>(item - items.begin()));
        }
        ASSERT_EQ(RecordBytes(m_Doc, 5, 0, 16), before) << "round " << round;
    }
}

TEST(RadiogramCodes, TextsAndLists) {
    EXPECT_EQ(FmCodeText(0), "65M0");
    EXPECT_EQ(FmCodeText(225), "87M5");
    EXPECT_EQ(FmCodeText(429), "107M9");
    EXPECT_EQ(FmCodeText(430), "108M0");
    std::vector<std::string> presets = FmPresetList();
    ASSERT_EQ(presets.size(), 432u);
    EXPECT_EQ(presets[431], "OFF");
    EXPECT_EQ(presets[430], "108M0");
    EXPECT_EQ(FmFrequencyList().size(), 431u);
}

}  // namespace
