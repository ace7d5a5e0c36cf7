// SPDX-License-Identifier: GPL-3.0-or-later
// Edits of many channels at once on a document with the 136-174 MHz band: a column set for a
// selection, a frequency series and a sort, each reporting the channels it had to leave alone.
#include "editors/channel_bulk_edit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "codeplug/channel_row_ops.h"
#include "codeplug/channel_sort.h"
#include "codeplug/document.h"
#include "codeplug/edit_history.h"
#include "config/settings.h"
#include "editors/channel_commit.h"
#include "support/module_folder.h"
#include "support/program_globals.h"
#include "support/quiet_prompts.h"

namespace {

using Channels = std::vector<int>;

class ChannelBulkEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Folder.Write("setting.ini", "[ModelInfo]\nFreq0=136-174MHz\ndata0=6013401700000000\n");
        m_Doc.SetSettings(DocumentSettingsFor(m_Folder.File("setting.ini"), 128));
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
    }

    void Make(int n, const char* rx, const char* tx, const char* name = "") {
        CommitReceiveFrequency(m_Doc, n, rx);
        CommitTransmitFrequency(m_Doc, n, tx);
        CommitChannelName(m_Doc, n, name);
    }

    std::string Cell(int n, int column) const {
        return ChannelRowTexts(m_Doc, n, EnglishChannelTexts())[static_cast<size_t>(column)];
    }

    halvex::test::ModuleFolder m_Folder;
    halvex::test::QuietPrompts m_Prompts;
    CHalvexDoc m_Doc{m_Prompts, DocumentSettings{}};
};

TEST_F(ChannelBulkEditTest, SetForSelectedChannels) {
    struct Case {
        const char* name;
        ColumnSetting setting;
        ChannelTableSettings table;
        Channels changed, unchanged, empty, locked, outOfBand;
        const char* cell1;  // channel 1's cell of the column afterwards
    };
    const ChannelTableSettings open{false, false, 128};
    const ChannelTableSettings limited{true, true, 128};
    const Case cases[] = {
        {"power", {kColumnPower, 0, {}}, open, {1, 3, 100}, {}, {2}, {}, {}, "Low"},
        {"again", {kColumnPower, 1, {}}, open, {}, {1, 3, 100}, {2}, {}, {}, "High"},
        {"encode tone", {kColumnEncode, 5, {}}, open, {1, 100}, {}, {2}, {3}, {}, "77.0"},
        {"compander off", {kColumnCompander, 1, {}}, limited, {}, {}, {2}, {1, 3, 100}, {}, "Off"},
        {"rows past 99", {kColumnBcl, 1, {}}, limited, {1, 3}, {}, {2}, {100}, {}, "On"},
        {"offset", {kColumnTransmit, 0, 60000}, open, {1, 3, 100}, {}, {2}, {}, {}, "146.60000"},
        {"off the band",
         {kColumnTransmit, 0, 3000000},
         open,
         {},
         {},
         {2},
         {},
         {1, 3, 100},
         "146.00000"},
        {"no transmit", {kColumnTransmit, 0, {}}, open, {1, 100}, {3}, {2}, {}, {}, ""},
        {"number column", {kColumnNumber, 0, {}}, open, {}, {}, {}, {}, {}, "1"},
        {"name column", {kColumnName, 0, {}}, open, {}, {}, {}, {}, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        Make(1, "146", "146");
        Make(3, "150", "");
        Make(100, "160", "160");
        if (c.setting.column == kColumnPower && c.setting.index == 1) {
            SetColumnForChannels(m_Doc, {1, 3, 100}, c.setting, open);
        }
        RadioImage before;
        before.bytes = m_Doc.Image().bytes;
        const BulkEditReport report =
            SetColumnForChannels(m_Doc, {100, 3, 2, 1, 3, 0, 129}, c.setting, c.table);
        EXPECT_EQ(report.changed, c.changed);
        EXPECT_EQ(report.unchanged, c.unchanged);
        EXPECT_EQ(report.emptySkipped, c.empty);
        EXPECT_EQ(report.lockedSkipped, c.locked);
        EXPECT_EQ(report.outOfBand, c.outOfBand);
        EXPECT_EQ(Cell(1, c.setting.column), c.cell1);
        for (int n = 1; n <= kImageChannelCount; ++n) {
            if (std::find(c.changed.begin(), c.changed.end(), n) == c.changed.end()) {
                EXPECT_EQ(ReadChannelSlot(m_Doc.Image(), n), ReadChannelSlot(before, n)) << n;
            }
        }
    }
}

TEST_F(ChannelBulkEditTest, FillFrequencies) {
    struct Case {
        const char* name;
        const char* first;
        const char* step;   // kilohertz
        const char* shift;  // megahertz
        bool limited;       // rows 100 and up locked
        // Receive and transmit of channels 1, 2, 4 and 100 afterwards, "-" for none.
        const char* shown;
        Channels locked, outOfBand;
    };
    const Case cases[] = {
        {"simplex",
         "146",
         "12.5",
         "0",
         false,
         "146.00000/146.00000 146.01250/146.01250 146.02500/146.02500 146.03750/146.03750",
         {},
         {}},
        {"repeater shift",
         "145.6",
         "25",
         "-0.6",
         false,
         "145.60000/145.00000 145.62500/145.02500 145.65000/145.05000 145.67500/145.07500",
         {},
         {}},
        {"past the band top",
         "173.96",
         "20",
         "0",
         false,
         "173.96000/173.96000 173.98000/173.98000 -/- 160.00000/160.00000",
         {},
         {4, 100}},
        {"shift below the band",
         "136.9",
         "-100",
         "-0.75",
         false,
         "136.90000/136.15000 136.80000/136.05000 -/- 160.00000/160.00000",
         {},
         {4, 100}},
        {"locked rows keep their place",
         "146",
         "5",
         "0",
         true,
         "146.00000/146.00000 146.00500/146.00500 146.01000/146.01000 160.00000/160.00000",
         {100},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        Make(1, "150", "", "KEEP");
        Make(100, "160", "160");
        const BulkEditReport report =
            FillFrequencies(m_Doc, {4, 1, 2, 100}, *ParseFrequencyAmount(c.first, false),
                            *ParseFrequencyAmount(c.step, true),
                            *ParseFrequencyAmount(c.shift, false), {false, c.limited, 128});
        std::string shown;
        for (int n : {1, 2, 4, 100}) {
            const std::string rx = Cell(n, kColumnReceive), tx = ShownTransmitText(m_Doc, n);
            shown += shown.empty() ? "" : " ";
            shown += rx.empty() ? "-" : rx;
            shown += "/";
            shown += tx.empty() ? "-" : tx;
        }
        EXPECT_EQ(Cell(1, kColumnName), "KEEP");
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(report.lockedSkipped, c.locked);
        EXPECT_EQ(report.outOfBand, c.outOfBand);
    }
}

TEST(FrequencyAmount, Parsing) {
    struct Case {
        const char* text;
        bool kilohertz;
        std::optional<int32_t> value;
    };
    const Case cases[] = {
        {"0.6", false, 60000},    {"+0.6", false, 60000},
        {"-5", false, -500000},   {"145.123456", false, 14512345},
        {".5", false, 50000},     {"12.5", true, 1250},
        {"6.25", true, 625},      {"-100", true, -10000},
        {"", false, {}},          {"-", false, {}},
        {".", false, {}},         {"1.2.3", false, {}},
        {"1e3", false, {}},       {" 1", false, {}},
        {"1000", false, {}},      {"999.99999", false, 99999999},
        {"9999999999", true, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseFrequencyAmount(c.text, c.kilohertz), c.value) << c.text;
    }
}

TEST_F(ChannelBulkEditTest, SortChannels) {
    struct Case {
        const char* name;
        ChannelSortOrder order;
        std::vector<std::string> names;  // channels 1-5 and 100 afterwards, "-" for empty
    };
    const Case cases[] = {
        {"receive", {ChannelSortKey::Receive, false}, {"C145", "A146", "B150", "", "-", "Z140"}},
        {"receive down",
         {ChannelSortKey::Receive, true},
         {"", "B150", "A146", "C145", "-", "Z140"}},
        {"name", {ChannelSortKey::Name, false}, {"A146", "B150", "C145", "", "-", "Z140"}},
        {"name down", {ChannelSortKey::Name, true}, {"C145", "B150", "A146", "", "-", "Z140"}},
        {"number", {ChannelSortKey::Number, false}, {"B150", "C145", "A146", "", "-", "Z140"}},
        {"number down", {ChannelSortKey::Number, true}, {"", "A146", "C145", "B150", "-", "Z140"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        Make(1, "150", "150", "B150");
        Make(3, "145", "145", "C145");
        Make(4, "146", "146", "A146");
        Make(5, "155", "155", "");
        Make(100, "140", "140", "Z140");
        const std::vector<int> changed =
            SortChannels(m_Doc.EditImage(), 99, {5, 4, 3, 2, 1, 100}, c.order);
        std::vector<std::string> names;
        for (int n : {1, 2, 3, 4, 5, 100}) {
            names.push_back(m_Doc.Image().IsChannelEmpty(n) ? "-" : Cell(n, kColumnName));
        }
        EXPECT_EQ(names, c.names);
        EXPECT_FALSE(changed.empty());
        EXPECT_TRUE(std::all_of(changed.begin(), changed.end(), [](int n) { return n <= 5; }));
    }
}

// Over random tables: a sort permutes the used channels of the selection and leaves every
// other byte, puts empties last and in order of the key, and one undo step restores the bytes.
TEST_F(ChannelBulkEditTest, SortIsAPermutationUndoneInOneStep) {
    std::mt19937 random(31);
    for (int round = 0; round < 60; ++round) {
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        std::uniform_int_distribution<int> used(0, 2);
        std::uniform_int_distribution<int> hertz(1360000, 1739900);
        const char letters[] = "ABCXYZ ";
        for (int n = 1; n <= kImageChannelCount; ++n) {
            if (used(random) == 0) {
                continue;
            }
            const std::string rx = FormatFrequencyValue(hertz(random) * 10);
            std::string name;
            for (int k = random() % 4; k > 0; --k) {
                name += letters[random() % 7];
            }
            Make(n, rx.c_str(), rx.c_str(), name.c_str());
        }
        EditHistory history;
        std::vector<uint8_t> state(m_Doc.Image().bytes.begin(), m_Doc.Image().bytes.end());
        history.Clear(state, true);
        const auto before = m_Doc.Image().bytes;
        Channels selection;
        for (int n = 1; n <= kImageChannelCount; ++n) {
            if (random() % 3 != 0) {
                selection.push_back(n);
            }
        }
        const int last = round % 2 == 0 ? 99 : 128;
        const ChannelSortOrder order{static_cast<ChannelSortKey>(round % 3), round % 5 == 0};
        SortChannels(m_Doc.EditImage(), last, selection, order);

        RadioImage old;
        old.bytes = before;
        std::vector<ChannelSlot> was, now;
        Channels places;
        for (int n : selection) {
            if (n <= last) {
                places.push_back(n);
                was.push_back(ReadChannelSlot(old, n));
                now.push_back(ReadChannelSlot(m_Doc.Image(), n));
            } else {
                EXPECT_EQ(ReadChannelSlot(m_Doc.Image(), n), ReadChannelSlot(old, n));
            }
        }
        auto byBytes = [](const ChannelSlot& a, const ChannelSlot& b) {
            return std::tie(a.record, a.name, a.emptyBit) < std::tie(b.record, b.name, b.emptyBit);
        };
        std::vector<ChannelSlot> wasSorted = was, nowSorted = now;
        std::sort(wasSorted.begin(), wasSorted.end(), byBytes);
        std::sort(nowSorted.begin(), nowSorted.end(), byBytes);
        EXPECT_EQ(wasSorted, nowSorted);
        for (size_t k = 1; k < places.size(); ++k) {
            const bool usedBefore = !m_Doc.Image().IsChannelEmpty(places[k - 1]);
            const bool usedHere = !m_Doc.Image().IsChannelEmpty(places[k]);
            EXPECT_TRUE(usedBefore || !usedHere) << "an empty channel before a used one";
            if (usedBefore && usedHere && order.key == ChannelSortKey::Receive) {
                const int32_t a = FrequencyTextToValue(
                    m_Doc.Image().GetFrequencyText(places[k - 1], kDecodeSide));
                const int32_t b =
                    FrequencyTextToValue(m_Doc.Image().GetFrequencyText(places[k], kDecodeSide));
                EXPECT_TRUE(order.descending ? a >= b : a <= b);
            }
        }
        for (int n = 1; n <= kImageChannelCount; ++n) {
            if (std::find(places.begin(), places.end(), n) == places.end()) {
                EXPECT_EQ(ReadChannelSlot(m_Doc.Image(), n), ReadChannelSlot(old, n));
            }
        }
        state.assign(m_Doc.Image().bytes.begin(), m_Doc.Image().bytes.end());
        history.Commit("sort", state);
        ASSERT_NE(history.Undo(state), nullptr);
        EXPECT_TRUE(std::equal(state.begin(), state.end(), before.begin()));
    }
}

}  // namespace
