// SPDX-License-Identifier: GPL-3.0-or-later
// The station's log line read back as CSV gives every field as written, whatever a cable's
// name or a detail holds; a line goes into the file whole or not at all; the summary words
// each result and names the cables of failures.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "config/language.h"
#include "platform/csv_text.h"
#include "station/station_log.h"
#include "support/temp_folder.h"

namespace {

TEST(StationLogTest, EveryLineReadsBackAsTheHeadersFields) {
    std::mt19937 random(30);
    const std::string alphabet = "ab,\"\n /0";
    auto text = [&] {
        std::string made;
        for (size_t k = random() % 12; k > 0; --k) {
            made += alphabet[random() % alphabet.size()];
        }
        return made;
    };
    for (int round = 0; round < 1000; ++round) {
        RadioRecord record;
        record.time = LocalTimeText(1700000000 + round);
        record.cable = "/dev/" + text();
        record.number = round + 1;
        record.identification = {0x48, static_cast<uint8_t>(random()), 0x00};
        record.result = static_cast<RadioResult>(random() % 4);
        record.detail = text();
        record.file = text();
        record.pttIdCode = text();
        std::vector<CsvRecord> lines;
        std::string error;
        ASSERT_TRUE(ParseCsvText(RadioLogLine(record) + "\n", &lines, &error)) << error;
        ASSERT_EQ(lines.size(), 1u);
        const std::vector<std::string>& fields = lines[0].fields;
        ASSERT_EQ(fields.size(), 12u) << RadioLogLine(record);
        EXPECT_EQ(fields[1], record.cable);
        EXPECT_EQ(fields[2], std::to_string(record.number));
        EXPECT_EQ(fields[3].size(), 6u);
        EXPECT_EQ(fields[4], RadioResultName(record.result));
        EXPECT_EQ(fields[5], record.detail);
        EXPECT_EQ(fields[9], record.file);
        EXPECT_EQ(fields[11], record.pttIdCode);
    }
    std::vector<CsvRecord> header;
    std::string error;
    ASSERT_TRUE(ParseCsvText(kStationLogHeader, &header, &error)) << error;
    EXPECT_EQ(header[0].fields.size(), 12u);
}

// A full disk is played by a limit on the size of files this process writes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_Before);
        m_Signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_Before;
        limit.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_Before);
        std::signal(SIGXFSZ, m_Signal);
    }

private:
    rlimit m_Before{};
    void (*m_Signal)(int) = nullptr;
};

TEST(StationLogTest, ALineIsWrittenWholeOrNotAtAllAndARunStartsOnAFreshLine) {
    halvex::test::TempFolder folder;
    RadioRecord record;
    record.time = LocalTimeText(1700000000);
    record.cable = "/dev/ttyUSB0";
    record.detail = "written, but could not be read back to check it";
    const size_t lineSize = RadioLogLine(record).size() + 1;
    const size_t headerSize = std::string(kStationLogHeader).size() + 1;
    struct Case {
        const char* name;
        // What an earlier run left in the file.
        std::string before;
        // Bytes the disk takes of this line; the whole line when not less.
        size_t room;
    };
    const Case cases[] = {
        {"no room at all", "", 0},
        {"room for a few bytes", "", 10},
        {"room for the header and all but the line end", "", headerSize + lineSize - 1},
        {"an earlier run's half line", "2026-12-10T02:40:01+0000,/dev/tty", lineSize + 1},
        {"half a line and no room", "2026-12-10T02:40:01+0000,/dev/tty", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.Write(std::string(c.name) + ".csv", c.before);
        StationLog log;
        std::string error;
        ASSERT_TRUE(log.Open(path, &error)) << error;
        bool whole = c.room >= lineSize + (c.before.empty() ? headerSize : 1);
        {
            FileSizeLimit limit(c.before.size() + c.room);
            record.number = 1;
            EXPECT_EQ(log.Append(record, &error), whole);
        }
        if (!whole) {
            EXPECT_NE(error.find("could not take radio 1"), std::string::npos) << error;
            EXPECT_EQ(halvex::test::ReadBytes(path), c.before);
        }
        record.number = 2;
        ASSERT_TRUE(log.Append(record, &error)) << error;
        std::string text = halvex::test::ReadBytes(path);
        ASSERT_EQ(text.substr(0, c.before.size()), c.before);
        text.erase(0, c.before.size());
        if (!c.before.empty()) {
            ASSERT_EQ(text.substr(0, 1), "\n");
            text.erase(0, 1);
        } else {
            ASSERT_EQ(text.substr(0, headerSize), std::string(kStationLogHeader) + "\n");
            text.erase(0, headerSize);
        }
        std::vector<CsvRecord> lines;
        ASSERT_TRUE(ParseCsvText(text, &lines, &error)) << error;
        ASSERT_EQ(lines.size(), whole ? 2u : 1u) << text;
        for (const CsvRecord& line : lines) {
            ASSERT_EQ(line.fields.size(), 12u);
            EXPECT_EQ(line.fields[1], record.cable);
        }
        EXPECT_EQ(lines.back().fields[2], "2");
        EXPECT_EQ(text.back(), '\n');
    }
}

TEST(StationLogTest, TheSummaryCountsEachResultAndNamesTheCablesOfFailures) {
    auto radio = [](const char* cable, RadioResult result) {
        RadioRecord record;
        record.cable = cable;
        record.result = result;
        return record;
    };
    const std::vector<RadioRecord> records = {
        radio("A", RadioResult::Ok),        radio("B", RadioResult::VerifyFailed),
        radio("A", RadioResult::Ok),        radio("C", RadioResult::VerifyFailed),
        radio("B", RadioResult::Cancelled), radio("C", RadioResult::Same),
        radio("A", RadioResult::Differs)};
    EXPECT_EQ(StationSummary(records),
              "7 radios: 2 ok, 2 verify failed on B and C, 1 cancelled on B, 1 same, 1 different "
              "on A");
    EXPECT_EQ(StationSummary(records, "B"), "B: 2 radios: 1 verify failed, 1 cancelled");
    EXPECT_EQ(StationSummary({}), "0 radios");
}

}  // namespace

// The desktop's and the page's lists fill these keys; in English they must word a radio as the
// command line does, for every result.
TEST(StationLogTest, TheEnglishKeysOfARadioDoneWordItAsTheCommandLine) {
    const std::string english = std::string(HALVEX_BIN_DIR) + "/english.lang";
    const auto text = [&english](const char* key) { return LoadLangString(english, key); };
    for (int n = 0; n <= static_cast<int>(RadioResult::Unchecked); ++n) {
        // A detail's own "%2" is the log's words, not a place for another value.
        for (const auto& [code, detail] : std::vector<std::pair<std::string, std::string>>{
                 {"", ""}, {"0103", "1 block differs: 0x0D40"}, {"", "100%2 read"}}) {
            RadioRecord record;
            record.cable = "/dev/ttyUSB0";
            record.number = 3;
            record.result = static_cast<RadioResult>(n);
            record.pttIdCode = code;
            record.detail = detail;
            EXPECT_EQ(RadioDoneWords(record, text), RadioDoneText(record));
        }
    }
}
