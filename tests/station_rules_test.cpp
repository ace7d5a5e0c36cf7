// SPDX-License-Identifier: GPL-3.0-or-later
// The rules an audited station run stands on: the image's SHA-256, the PTT ID code each radio
// gets, a log that goes on from its last line (and refuses a file that is no station log), and
// a radio written but never logged named at the next start, once.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/csv_text.h"
#include "platform/sha256.h"
#include "station/ptt_id_series.h"
#include "station/station_log.h"
#include "support/temp_folder.h"

namespace {

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// The published vectors, and lengths either side of where the padding needs a second block.
TEST(StationRulesTest, Sha256GivesThePublishedDigests) {
    const struct {
        std::string message;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(119, 'a'), "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.size());
        EXPECT_EQ(Sha256Hex(Bytes(c.message)), c.digest);
        EXPECT_EQ(Sha256Hex(Bytes(c.message), 16), std::string(c.digest, 16));
    }
}

TEST(StationRulesTest, EachRadioGetsTheNextCodeInTheFirstsWidthUntilSixDigitsAreFull) {
    const struct {
        const char* first;
        int index;
        // "-": the code would not fit.
        const char* code;
    } cases[] = {
        {"0101", 0, "0101"}, {"0101", 2, "0103"},          {"0999", 1, "1000"},
        {"9", 1, "10"},      {"000000", 999999, "999999"}, {"999999", 0, "999999"},
        {"999999", 1, "-"},  {"99999", 1, "100000"},
    };
    PttIdSeries series;
    std::string error;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " #" + std::to_string(c.index));
        ASSERT_TRUE(ParsePttIdSeries(c.first, &series, &error)) << error;
        EXPECT_EQ(PttIdCodeAt(series, c.index).value_or("-"), c.code);
    }
    for (const char* refused : {"", "12a", "A1", "1234567", " 1", "-1", "+1"}) {
        SCOPED_TRACE(refused);
        error.clear();
        EXPECT_FALSE(ParsePttIdSeries(refused, &series, &error));
        EXPECT_NE(error.find("1 to 6 decimal digits"), std::string::npos) << error;
    }
}

constexpr const char* kOldLine = "2026-12-09T18:40:12+0100,/dev/ttyUSB0,12,4852,ok,,20.4\n";

TEST(StationRulesTest, ALogGoesOnFromItsLastRadioAndRefusesWhatIsNoStationLog) {
    halvex::test::TempFolder folder;
    const std::string header = std::string(kStationLogHeader) + "\n";
    const struct {
        const char* name;
        std::string before;
        // -1: refused, the file untouched.
        int lastNumber;
    } cases[] = {
        {"new", "", 0},
        {"only the header", header, 0},
        {"a log of the seven first columns", kOldLine, 12},
        {"a half line after the last radio", std::string(kOldLine) + "2026-12-10T0", 12},
        {"a half line with an open quote", std::string(kOldLine) + "x,\"/dev/tty", 12},
        // Radio 12's cable ended after radio 13's: 14 is next, not 13 again.
        {"a later radio logged first", "t,/dev/ttyUSB1,13,4852,ok,,20.1\n" + std::string(kOldLine),
         13},
        {"a channel list", "Location,Name,Frequency\n1,BASE,146.52\n", -1},
        {"a radio number that is none", "t,/dev/ttyUSB0,twelve,4852,ok,,20.4\n", -1},
        {"a quote never closed", "t,\"/dev/ttyUSB0,12,4852,ok,,20.4\n", -1},
        {"binary", std::string("\0\1\2\n", 4), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.Write(std::string(c.name) + ".csv", c.before);
        StationLog log;
        std::string error;
        bool opened = log.Open(path, &error);
        ASSERT_EQ(opened, c.lastNumber >= 0) << error;
        if (!opened) {
            EXPECT_NE(error.find("name another log"), std::string::npos) << error;
            EXPECT_EQ(halvex::test::ReadBytes(path), c.before);
            continue;
        }
        EXPECT_EQ(log.LastRadioNumber(), c.lastNumber);
        RadioRecord record;
        record.number = c.lastNumber + 1;
        ASSERT_TRUE(log.Append(record, &error)) << error;
        std::string text = halvex::test::ReadBytes(path);
        // The header once, at the top of a log that had nothing.
        EXPECT_EQ(text.starts_with(header), c.before.empty() || c.before == header) << text;
        EXPECT_EQ(text.find(header, 1), std::string::npos) << text;
        StationLog reopened;
        ASSERT_TRUE(reopened.Open(path, &error)) << error;
        EXPECT_EQ(reopened.LastRadioNumber(), c.lastNumber + 1);
    }
}

TEST(StationRulesTest, ARadioWrittenButNeverLoggedIsLoggedUncheckedAtTheNextStartOnce) {
    halvex::test::TempFolder folder;
    const std::string path = folder.File("log.csv");
    const std::string marker = UnloggedRadiosPath(path);
    EXPECT_EQ(marker, folder.File(".log.csv.unlogged"));
    std::string error;
    auto record = [](const char* cable, int number) {
        RadioRecord made;
        made.cable = cable;
        made.number = number;
        made.finished = "2026-12-10T11:00:0" + std::to_string(number) + "+0000";
        return made;
    };
    {
        StationLog log;
        ASSERT_TRUE(log.Open(path, &error)) << error;
        ASSERT_TRUE(log.MarkWritten(record("/dev/ttyUSB0", 1), &error)) << error;
        ASSERT_TRUE(log.Append(record("/dev/ttyUSB0", 1), &error)) << error;
        EXPECT_FALSE(std::filesystem::exists(marker)) << "a logged radio is still marked";
        // The station stops after both writes, before either line.
        ASSERT_TRUE(log.MarkWritten(record("/dev/ttyUSB1,\"odd\"", 2), &error)) << error;
        ASSERT_TRUE(log.MarkWritten(record("/dev/ttyUSB0", 3), &error)) << error;
    }
    StationLog next;
    ASSERT_TRUE(next.Open(path, &error)) << error;
    // The lines below are made from these two, so they prove what the marker kept.
    ASSERT_EQ(next.Unlogged().size(), 2u);
    EXPECT_EQ(next.LastRadioNumber(), 3);
    std::vector<CsvRecord> lines;
    ASSERT_TRUE(ParseCsvText(halvex::test::ReadBytes(path), &lines, &error)) << error;
    ASSERT_EQ(lines.size(), 4u);
    for (size_t k = 1; k < lines.size(); ++k) {
        ASSERT_EQ(lines[k].fields.size(), lines[0].fields.size());
        EXPECT_EQ(lines[k].fields[2], std::to_string(k));
        EXPECT_EQ(lines[k].fields[4], k == 1 ? "ok" : "unchecked");
    }
    EXPECT_EQ(lines[2].fields[1], "/dev/ttyUSB1,\"odd\"");
    EXPECT_EQ(lines[3].fields[7], "2026-12-10T11:00:03+0000");
    StationLog after;
    ASSERT_TRUE(after.Open(path, &error)) << error;
    EXPECT_TRUE(after.Unlogged().empty());
    EXPECT_EQ(after.LastRadioNumber(), 3);

    // A marker the station did not write stops the start rather than be taken as radios.
    folder.Write(".log.csv.unlogged", "not,a radio\n");
    StationLog refused;
    EXPECT_FALSE(refused.Open(path, &error));
    EXPECT_NE(error.find("move the file away"), std::string::npos) << error;
    EXPECT_FALSE(refused.IsOpen());
}

}  // namespace
