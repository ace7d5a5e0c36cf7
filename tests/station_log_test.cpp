// SPDX-License-Identifier: GPL-3.0-or-later
// The station's log line read back as CSV gives every field as written, whatever a cable's
// name or a detail holds; the summary words each result and names the cables of failures.
#include <gtest/gtest.h>

#include <random>

#include "platform/csv_text.h"
#include "station/station_log.h"

namespace {

TEST(StationLogTest, EveryLineReadsBackAsItsSevenFields) {
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
        std::vector<CsvRecord> lines;
        std::string error;
        ASSERT_TRUE(ParseCsvText(RadioLogLine(record) + "\n", &lines, &error)) << error;
        ASSERT_EQ(lines.size(), 1u);
        const std::vector<std::string>& fields = lines[0].fields;
        ASSERT_EQ(fields.size(), 7u) << RadioLogLine(record);
        EXPECT_EQ(fields[1], record.cable);
        EXPECT_EQ(fields[2], std::to_string(record.number));
        EXPECT_EQ(fields[3].size(), 6u);
        EXPECT_EQ(fields[4], RadioResultName(record.result));
        EXPECT_EQ(fields[5], record.detail);
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
        radio("A", RadioResult::Ok), radio("B", RadioResult::VerifyFailed),
        radio("A", RadioResult::Ok), radio("C", RadioResult::VerifyFailed),
        radio("B", RadioResult::Cancelled)};
    EXPECT_EQ(StationSummary(records),
              "5 radios: 2 ok, 2 verify failed on B and C, 1 cancelled on B");
    EXPECT_EQ(StationSummary(records, "B"), "B: 2 radios: 1 verify failed, 1 cancelled");
    EXPECT_EQ(StationSummary({}), "0 radios");
}

}  // namespace
