// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "codeplug/pgm_file.h"
#include "support/cli_run_fixture.h"

namespace {

const std::string kDataDir = HALVEX_TEST_DATA_DIR;
const std::string kSingleBands = kDataDir + "/settings/single_bands.ini";

using CliTest = CliRunFixture;

// One line on stderr, naming the program, and nothing on stdout.
void ExpectOneErrorLine(const RunResult& result, const std::string& fragment, int exitCode) {
    EXPECT_EQ(result.exitCode, exitCode);
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_EQ(result.err.rfind("halvex-cli: ", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_NE(result.err.find(fragment), std::string::npos) << result.err;
}

TEST_F(CliTest, HelpListsEveryCommand) {
    RunResult result = Run({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("halvex-cli new"), std::string::npos);
    EXPECT_NE(result.out.find("halvex-cli info"), std::string::npos);
    EXPECT_TRUE(result.err.empty());
}

TEST_F(CliTest, NewWritesAFreshDocumentForTheChosenBand) {
    RunResult result = Run({"new", "--settings", kSingleBands, "-o", File("zero.pgm")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::string saved = ReadBytes(File("zero.pgm"));
    ASSERT_EQ(saved.size(), kPgmFileSize);
    EXPECT_EQ(saved.substr(0, 30), "RQ870 Radio Program data v1.08");
    EXPECT_EQ(saved.substr(48 + 0x0D40, 6), "HRQ870") << "saved the way File > Save does";

    result = Run({"new", "--settings", kSingleBands, "--band", "1", "-o", File("one.pgm")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    result = Run({"info", "--settings", kSingleBands, File("one.pgm")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("Band line: 1"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("400.00000 - 479.99500 MHz"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Used channels: 0 of 16"), std::string::npos) << result.out;
}

TEST_F(CliTest, InfoCsvShowsTheChannelTableTexts) {
    RunResult result =
        Run({"info", kDataDir + "/pgm/v1_05_channels.pgm", "--csv", "--settings", kSingleBands});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "Channel,Receive,Decode,Transmit,Encode,Power,BCL,Bandwidth,ScanAdd,Reverse,PttId,"
              "Compander,Name\n"
              "1,146.12500,67.0,146.72500,D023N,High,Off,Wide,Off,Off,Off,Off,AB-1\n"
              "2,145.00000,D023I,,,Low,On,Narrow,On,Off,Off,On,A A\n"
              "4,150.00000,Off,150.00000,Off,High,Off,Middle,Off,On,On,Off,\n");
}

TEST_F(CliTest, DiffListsEachDifferingChannelColumnAndSetting) {
    const std::string channels = kDataDir + "/pgm/v1_05_channels.pgm";
    ASSERT_EQ(Run({"new", "--settings", kSingleBands, "-o", File("new.pgm")}).exitCode, 0);
    RunResult result = Run({"diff", "--settings", kSingleBands, channels, File("new.pgm")});
    ASSERT_EQ(result.exitCode, 1) << result.err;
    for (const char* line : {"Channel 1: 146.12500 AB-1 -> -\n", "Channel 4: 150.00000 -> -\n",
                             "VFO F1, Bandwidth: Middle -> Wide\n", "Settings, Squelch: 0 -> 4\n",
                             "FM preset 1, Frequency: OFF -> 65M0\n"}) {
        EXPECT_NE(result.out.find(line), std::string::npos) << line << result.out;
    }
    EXPECT_EQ(result.out.find("Channel 3"), std::string::npos) << "both unused";
    EXPECT_EQ(result.out.find("Channel 1,"), std::string::npos) << "one line for channel 1";
    EXPECT_EQ(result.out.find("FM preset 2,"), std::string::npos) << "both OFF";

    result = Run({"diff", "--settings", kSingleBands, channels, channels});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "The files hold the same channels and settings.\n");
}

TEST_F(CliTest, BadUsageAndBadFilesEndWithOneClearLine) {
    const std::string pgm = kDataDir + "/pgm/";
    struct Case {
        std::vector<std::string> arguments;
        std::string fragment;
        int exitCode = 1;
    };
    const Case cases[] = {
        {{}, "no command"},
        {{"frobnicate"}, "unknown command"},
        {{"new", "--settings", kSingleBands}, "-o FILE.pgm"},
        {{"new", "--settings", kSingleBands, "--band", "16", "-o", File("x.pgm")}, "--band"},
        {{"new", "--settings", kSingleBands, "--band", "5", "-o", File("x.pgm")}, "data5"},
        {{"new", "--settings", File("absent.ini"), "-o", File("x.pgm")}, "absent.ini"},
        {{"new", "--settings", kSingleBands, "-o", File("no/folder/x.pgm")}, "x.pgm"},
        {{"info", "--settings", kSingleBands}, "missing"},
        {{"info", "--settings", kSingleBands, pgm + "foreign_header.pgm"}, "not a radio data"},
        {{"info", "--settings", kSingleBands, pgm + "short_header.pgm"}, "not a radio data"},
        {{"info", "--settings", kSingleBands, m_Folder.Path()}, "folder"},
        {{"info", "--settings", kSingleBands, File("missing.pgm")}, "missing.pgm"},
        {{"info", "--settings", kSingleBands, "a.pgm", "b.pgm"}, "b.pgm"},
        {{"diff", "--settings", kSingleBands, pgm + "v1_05_channels.pgm"}, "B.pgm is missing", 2},
        {{"diff", "--settings", kSingleBands, pgm + "v1_05_channels.pgm",
          pgm + "foreign_header.pgm"},
         "not a radio data",
         2},
    };
    for (const Case& testCase : cases) {
        std::ostringstream trace;
        for (const std::string& argument : testCase.arguments) {
            trace << argument << ' ';
        }
        SCOPED_TRACE(trace.str());
        ExpectOneErrorLine(Run(testCase.arguments), testCase.fragment, testCase.exitCode);
    }
    EXPECT_FALSE(std::filesystem::exists(File("x.pgm")));
}

// What write refuses, every command that reads a .pgm refuses with write's words, writing
// nothing; a file whose channels cannot be read is said to be no program, and write needs
// --force for it; channels in use past channelcount are named where they are left out.
TEST_F(CliTest, FilesSayWhatTheyAre) {
    const std::string pgm = kDataDir + "/pgm/";
    const std::string out = File("out");
    for (const char* name :
         {"empty.pgm", "header_only.pgm", "truncated_image.pgm", "too_long.pgm"}) {
        const std::string reason = [&] {
            const RunResult write =
                Run({"write", "--settings", kSingleBands, "--device", File("no-tty"), pgm + name});
            const size_t begin = std::string("halvex-cli: ").size();
            return write.err.substr(begin, write.err.find(';') - begin);
        }();
        ASSERT_NE(reason.find(name), std::string::npos) << reason;
        for (std::vector<std::string> arguments :
             {std::vector<std::string>{"info", pgm + name},
              {"info", "--csv", pgm + name},
              {"dump", pgm + name, "-o", out},
              {"export", pgm + name, "-o", out},
              {"import", kDataDir + "/csv/full_export.csv", "--into", pgm + name, "-o", out}}) {
            arguments.insert(arguments.end(), {"--settings", kSingleBands});
            SCOPED_TRACE(arguments[0] + " " + name);
            ExpectOneErrorLine(Run(arguments), reason, 1);
            EXPECT_FALSE(std::filesystem::exists(out));
        }
    }

    // Every channel in use, none with a frequency: 0x1A is no pair of decimal digits.
    const std::string noise = ReadBytes(pgm + "v1_05_channels.pgm").substr(0, kPgmHeaderSize) +
                              std::string(kImageSize, '\x1A');
    const std::string noisy = m_Folder.Write("noise.pgm", noise);
    RunResult result = Run({"info", "--settings", kSingleBands, noisy});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(
        result.err.find("warning: no channel of " + noisy + " holds a frequency that can be read"),
        std::string::npos)
        << result.err;
    ExpectOneErrorLine(
        Run({"write", "--settings", kSingleBands, "--device", File("no-tty"), noisy}),
        "it is probably not a radio program; nothing was sent to the radio "
        "(--force writes it anyway)",
        1);
    result =
        Run({"write", "--settings", kSingleBands, "--device", File("no-tty"), "--force", noisy});
    EXPECT_EQ(result.err.find("not a radio program"), std::string::npos) << result.err;

    const std::string ten = m_Folder.Write(
        "ten.ini", "[setup]\nchannelcount=10\n[ModelInfo]\ndata0=6013401700000000\n");
    m_Folder.Write("two.yaml",
                   "format: 1\nchannels:\n  5: {receive: 146.52}\n  50: {receive: "
                   "146.52}\n  51: {receive: 146.52}\n");
    ASSERT_EQ(Run({"apply", File("two.yaml"), "--settings", ten, "-o", File("two.pgm")}).exitCode,
              0);
    for (const auto& [command, words] :
         {std::pair{"info", "shown"}, std::pair{"export", "exported"}}) {
        result = Run({command, File("two.pgm"), "--settings", ten});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, std::string("halvex-cli: 2 channels in use beyond channelcount=10 of "
                                          "the settings are not ") +
                                  words + ": 50, 51\n");
    }
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 2) << result.out;
}

}  // namespace

namespace {

// A settings file a command cannot use stops it before any work, naming the file or the key;
// one it can use with defaults says so once and goes on.
TEST_F(CliTest, SettingsFilesSayWhatIsWrongWithThem) {
    struct Case {
        std::string contents;
        std::string fragment;
    };
    const Case cases[] = {
        {std::string("[setup]\ncom=1\n\0", 15), "bad.ini is not a settings file"},
        {halvex::test::ReadBytes(kDataDir + "/pgm/v1_05_channels.pgm"), "is a radio data file"},
        {"[setup]\nreadtime=-5\n",
         "readtime=-5 is not allowed: readtime takes a whole number from 1 to 600000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fragment);
        std::string settings = m_Folder.Write("bad.ini", c.contents);
        ExpectOneErrorLine(Run({"new", "--settings", settings, "-o", File("x.pgm")}), c.fragment,
                           1);
        EXPECT_EQ(halvex::test::ReadBytes(settings), c.contents);
    }
    EXPECT_FALSE(std::filesystem::exists(File("x.pgm")));

    std::string bare = m_Folder.Write("bare.ini", "");
    RunResult result = Run({"new", "--settings", bare, "-o", File("bare.pgm")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err,
              "halvex-cli: " + bare +
                  " has no [setup] section: 1 channel, defaults used\nhalvex-cli: " + bare +
                  " has no band line ([ModelInfo] data0): no frequency "
                  "limits known\n");
}

}  // namespace
