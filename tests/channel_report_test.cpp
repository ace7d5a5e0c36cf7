// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report's layout as the core decides it for the desktop and the page: which
// channels print, how they spread over the pages, and the rows' texts.
#include "editors/channel_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "codeplug/document.h"
#include "config/settings.h"
#include "editors/channel_commit.h"
#include "support/module_folder.h"
#include "support/quiet_prompts.h"

namespace {

class ChannelReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Folder.Write("setting.ini", "[ModelInfo]\nFreq0=136-174MHz\ndata0=6013401700000000\n");
        m_Doc.SetSettings(DocumentSettingsFor(m_Folder.File("setting.ini"), 128));
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
    }

    ChannelReport Report() {
        std::array<std::string, kChannelColumnCount> headings;
        for (int column = 0; column < kChannelColumnCount; ++column) {
            headings[static_cast<size_t>(column)] = "H" + std::to_string(column);
        }
        return BuildChannelReport(m_Doc, EnglishChannelTexts(), headings, true,
                                  ChannelTableSettings{false, true, 128});
    }

    halvex::test::ModuleFolder m_Folder;
    halvex::test::QuietPrompts m_Prompts;
    CHalvexDoc m_Doc{m_Prompts, DocumentSettings{}};
};

// Any set of used channels, wherever they lie, fills the pages 20, 30, 30, 30 and the rest in
// channel order; pages 1 to 3 start their rows closer under the headings.
TEST_F(ChannelReportTest, UsedChannelsFillThePagesInOrder) {
    const struct {
        int used;
        std::vector<size_t> rowsPerPage;
    } cases[] = {
        {0, {0}},
        {1, {1}},
        {20, {20}},
        {21, {20, 1}},
        {80, {20, 30, 30}},
        {111, {20, 30, 30, 30, 1}},
        {128, {20, 30, 30, 30, 18}},
    };
    std::mt19937 random(42);
    for (const auto& entry : cases) {
        std::vector<int> all(128);
        std::iota(all.begin(), all.end(), 1);
        std::shuffle(all.begin(), all.end(), random);
        std::vector<int> used(all.begin(), all.begin() + entry.used);
        std::sort(used.begin(), used.end());
        ASSERT_TRUE(m_Doc.OnNewDocument(true));
        for (int n : used) {
            const std::string receive = "14" + std::to_string(n % 10) + ".12500";
            CommitReceiveFrequency(m_Doc, n, receive);
            ASSERT_FALSE(m_Doc.Image().IsChannelEmpty(n)) << n;
        }
        const ChannelReport report = Report();
        ASSERT_EQ(report.pages.size(), entry.rowsPerPage.size()) << entry.used;
        EXPECT_EQ(PrintPageCount(entry.used), static_cast<int>(entry.rowsPerPage.size()));
        std::vector<int> printed;
        for (size_t page = 0; page < report.pages.size(); ++page) {
            const ReportPage& sheet = report.pages[page];
            EXPECT_EQ(sheet.rows.size(), entry.rowsPerPage[page]) << entry.used << " p" << page;
            EXPECT_EQ(sheet.firstRowTop, page < 3 ? 29 : 49);
            for (const ChannelRow& row : sheet.rows) {
                const int n = std::stoi(row[kColumnNumber]);
                EXPECT_EQ(row, ChannelRowTexts(m_Doc, n, EnglishChannelTexts()));
                // Rows 100 and up are locked under the channel limit.
                EXPECT_EQ(sheet.states[&row - sheet.rows.data()][kColumnReceive].locked, n >= 100);
                printed.push_back(n);
            }
        }
        EXPECT_EQ(printed, used) << entry.used;
        EXPECT_EQ(report.columns[kColumnReceive].heading, "H1");
        EXPECT_EQ(report.functionLines.size(), 8u);
    }
}

TEST(ChannelReport, HeadingsWrapAsTheGridsDoAndTheDateLineIsPadded) {
    EXPECT_TRUE(HeadingWraps(kChannelColumns[kColumnReceive], false));
    EXPECT_FALSE(HeadingWraps(kChannelColumns[kColumnNumber], true));
    EXPECT_TRUE(HeadingWraps(kChannelColumns[kColumnReverse], EnglishHeadings("english")));
    EXPECT_FALSE(HeadingWraps(kChannelColumns[kColumnReverse], EnglishHeadings("german")));
    EXPECT_EQ(ReportDateLine({2025, 3, 7, 9, 5}, "Friday"), "2025-03-07 Friday 09:05");
    EXPECT_EQ(ReportDateLine({2025, 12, 31, 23, 59}, "星期三"), "2025-12-31 星期三 23:59");
}

}  // namespace
