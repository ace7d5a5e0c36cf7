// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli export and import as a user runs them: exit codes, the loss report on stderr,
// and output files that exist only when the import succeeded.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_run_fixture.h"

namespace {

const std::string kDataDir = HALVEX_TEST_DATA_DIR;
const std::string kSingleBands = kDataDir + "/settings/single_bands.ini";

using CsvCliTest = CliRunFixture;

const std::string kCsvDir = kDataDir + "/csv/";

TEST_F(CsvCliTest, ImportReportsEveryLossAndExportGivesTheChannelsBack) {
    RunResult result = Run({"import", kCsvDir + "full_export.csv", "--settings", kSingleBands, "-o",
                            File("imported.pgm")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_EQ(result.err,
              "row 2, Location: \"0\" is not a channel from 1 to 16, row skipped\n"
              "row 3, Name: \"SEA 01\" stored as \"SEA01\"\n"
              "row 4, Name: \"TACOMA\" stored as \"TACOM\"\n"
              "row 5, Name: \"DCS RX\" stored as \"DCSRX\"\n"
              "row 6, Frequency: 121.500000 MHz is outside the band 136.00000-173.99500 MHz, "
              "row skipped\n"
              "row 8, Frequency: 446.000000 MHz is outside the band 136.00000-173.99500 MHz, "
              "row skipped\n"
              "Comment: 2 comments not stored, the radio has no room for them\n"
              "4 rows imported, 7 changes reported.\n");

    result = Run({"export", "--settings", kSingleBands, File("imported.pgm")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.err.empty()) << result.err;
    EXPECT_EQ(result.out,
              "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
              "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,"
              "RPT2CALL,DVCODE\r\n"
              "1,SEA01,146.960000,-,0.600000,Tone,103.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,"
              ",,,,\r\n"
              "2,TACOM,147.280000,+,0.600000,TSQL,103.5,103.5,023,NN,023,Tone->Tone,NFM,12.50,S,"
              "1.0W,,,,,\r\n"
              "3,DCSRX,145.330000,-,0.600000,DTCS,88.5,88.5,411,NR,023,Tone->Tone,FM,5.00,,5.0W,"
              ",,,,\r\n"
              "5,NOAA1,162.550000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,25.00,,5.0W,"
              ",,,,\r\n");

    result = Run(
        {"export", "--settings", kSingleBands, File("imported.pgm"), "-o", File("exported.csv")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    result =
        Run({"import", File("exported.csv"), "--settings", kSingleBands, "-o", File("again.pgm")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "4 rows imported, 0 changes reported.\n");
    EXPECT_EQ(ReadBytes(File("again.pgm")), ReadBytes(File("imported.pgm")));
}

TEST_F(CsvCliTest, IntoKeepsTheChannelsTheFileDoesNotName) {
    std::ofstream(File("one.csv")) << "Location,Frequency\n2,150.0\n";
    std::ofstream(File("two.csv")) << "Location,Frequency,Name\n1,140.0,KEEP\n2,141.0,OLD\n";
    ASSERT_EQ(Run({"import", File("two.csv"), "--settings", kSingleBands, "-o", File("base.pgm")})
                  .exitCode,
              0);
    RunResult result = Run({"import", File("one.csv"), "--settings", kSingleBands, "--into",
                            File("base.pgm"), "-o", File("merged.pgm")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    result = Run({"export", "--settings", kSingleBands, File("merged.pgm")});
    EXPECT_NE(result.out.find("\n1,KEEP,140.000000,"), std::string::npos) << result.out;
    // The file has no Name column: the channel keeps its name.
    EXPECT_NE(result.out.find("\n2,OLD,150.000000,"), std::string::npos) << result.out;

    result = Run({"import", File("one.csv"), "--settings", kSingleBands, "--band", "1",
                  "--allow-empty", "-o", File("uhf.pgm")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("outside the band 400.00000-479.99500 MHz"), std::string::npos)
        << result.err;
}

// Nothing to import or export is a failure the user must see: no file, exit 1, unless the
// user asks for an empty import.
TEST_F(CsvCliTest, NothingToCarryWritesNothing) {
    std::ofstream(File("out_of_band.csv")) << "Location,Frequency\n1,446.0\n2,121.5\n";
    std::ofstream(File("airband.csv")) << "Location,Frequency\n1,121.5\n";
    ASSERT_EQ(Run({"new", "--settings", kSingleBands, "-o", File("empty.pgm")}).exitCode, 0);
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string lastLine;
        std::string output;  // exists afterwards only when the command succeeded
    };
    const Case cases[] = {
        // The band line that would take them is named; none is when no line would.
        {{"import", File("out_of_band.csv"), "-o", File("a.pgm")},
         1,
         "halvex-cli: import: no channel could be imported; band line 1 (400-480MHz) would "
         "take 1 row: give --band 1",
         File("a.pgm")},
        {{"import", File("out_of_band.csv"), "--into", File("empty.pgm"), "-o", File("b.pgm")},
         1,
         "halvex-cli: import: no channel could be imported; band line 1 (400-480MHz) would "
         "take 1 row: give --band 1 instead of --into",
         File("b.pgm")},
        {{"import", File("airband.csv"), "-o", File("e.pgm")},
         1,
         "halvex-cli: import: no channel could be imported",
         File("e.pgm")},
        {{"import", File("out_of_band.csv"), "--allow-empty", "-o", File("c.pgm")},
         0,
         "0 rows imported, 2 changes reported.",
         File("c.pgm")},
        {{"export", File("empty.pgm"), "-o", File("d.csv")},
         1,
         "halvex-cli: export: no channels to export",
         File("d.csv")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments[0] + " " + c.output);
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--settings", kSingleBands});
        RunResult result = Run(arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_TRUE(result.err.ends_with(c.lastLine + "\n")) << result.err;
        EXPECT_EQ(std::filesystem::exists(c.output), c.exitCode == 0);
    }
}

TEST_F(CsvCliTest, FilesThatCannotBeReadLeaveNoOutput) {
    std::ofstream(File("existing.pgm")) << "precious";
    struct Case {
        std::vector<std::string> arguments;
        std::string fragment;
    };
    const Case cases[] = {
        {{"import", kCsvDir + "unclosed_quote.csv", "-o", File("existing.pgm")},
         "unclosed_quote.csv: line 2: a quoted field is never closed"},
        {{"import", kCsvDir + "no_frequency_column.csv", "-o", File("existing.pgm")},
         "the file has no Frequency column"},
        {{"import", kDataDir + "/pgm/v1_05_channels.pgm", "-o", File("existing.pgm")}, "not text"},
        {{"import", File("absent.csv"), "-o", File("existing.pgm")}, "absent.csv"},
        {{"import", kCsvDir + "full_export.csv"}, "-o OUT.pgm is missing"},
        {{"import", kCsvDir + "full_export.csv", "--into", kDataDir + "/pgm/foreign_header.pgm",
          "-o", File("existing.pgm")},
         "not a radio data"},
        {{"export", File("absent.pgm")}, "absent.pgm"},
        {{"export", kDataDir + "/pgm/v1_05_channels.pgm", "-o", File("no/folder/x.csv")}, "x.csv"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--settings", kSingleBands});
        RunResult result = Run(arguments);
        SCOPED_TRACE(c.fragment);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.out.empty()) << result.out;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_NE(result.err.find(c.fragment), std::string::npos) << result.err;
        EXPECT_EQ(ReadBytes(File("existing.pgm")), "precious");
    }
}

}  // namespace
