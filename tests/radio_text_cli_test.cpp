// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli dump, apply and diff of text forms as a user runs them: an edited channel is one
// changed line and one difference, and a text with errors lists them all and writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/cli_run_fixture.h"

namespace {

const std::string kDataDir = HALVEX_TEST_DATA_DIR;
const std::string kSettings = kDataDir + "/settings/single_bands.ini";
const std::string kChannels = kDataDir + "/pgm/v1_05_channels.pgm";

using RadioTextCliTest = CliRunFixture;

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST_F(RadioTextCliTest, OneEditedChannelIsOneLineAndOneDifference) {
    // A file from elsewhere with stale derived areas comes back with them made as Save makes
    // them; a file the program saved comes back byte for byte.
    RunResult result = Run({"dump", kChannels, "--settings", kSettings, "-o", File("old.yaml")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    result = Run({"apply", File("old.yaml"), "--settings", kSettings, "-o", File("saved.pgm")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    result = Run({"diff", "--settings", kSettings, kChannels, File("saved.pgm")});
    EXPECT_EQ(result.out.find("Channel"), std::string::npos) << result.out;
    const std::string saved = File("saved.pgm");
    result = Run({"dump", saved, "--settings", kSettings, "-o", File("radio.yaml")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    result = Run({"apply", File("radio.yaml"), "--settings", kSettings, "-o", File("back.pgm")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(ReadBytes(File("back.pgm")) == ReadBytes(saved));

    std::string text = ReadBytes(File("radio.yaml"));
    const size_t channel = text.find("\n  4: {");
    const size_t power = text.find("power: high", channel);
    ASSERT_NE(power, std::string::npos) << text;
    text.replace(power, 11, "power: low");
    Write(File("edited.yaml"), text);

    result = Run({"apply", File("edited.yaml"), "--settings", kSettings, "-o", File("out.pgm")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    result = Run({"diff", "--settings", kSettings, saved, File("out.pgm")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "Channel 4, Power: High -> Low\n");
    // The unedited text stands for the file itself, byte for byte.
    result = Run({"diff", "--settings", kSettings, File("radio.yaml"), saved});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;

    // A channel left out of the table is gone, also --into; a value the rules change is said.
    Write(File("one.yaml"), "format: 1\nchannels:\n  9: {receive: 146.521, name: simp}\n");
    result = Run({"apply", File("one.yaml"), "--into", saved, "--settings", kSettings, "-o",
                  File("into.pgm")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, File("one.yaml") +
                              ":3:16: channels.9.receive: \"146.521\" stored as \"146.52000\"\n" +
                              File("one.yaml") +
                              ":3:31: channels.9.name: \"simp\" stored as \"SIMP\"\n");
    result = Run({"info", "--settings", kSettings, File("into.pgm")});
    EXPECT_NE(result.out.find("Used channels: 1 of"), std::string::npos) << result.out;
    result = Run({"diff", "--settings", kSettings, kChannels, File("into.pgm")});
    // A channel on one side only is one line, not one per column.
    EXPECT_NE(result.out.find("Channel 1: 146.12500 AB-1 -> -\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Channel 9: - -> 146.52000 SIMP\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("Channel 1,"), std::string::npos) << result.out;
}

struct FailureCase {
    const char* name;
    std::string text;  // written to bad.yaml when not empty
    std::vector<std::string> arguments;
    int exitCode;
    std::string err;
};

TEST_F(RadioTextCliTest, FailuresSayWhyAndWriteNothing) {
    const std::string bad = File("bad.yaml");
    const std::string out = File("out.pgm");
    const std::vector<FailureCase> cases = {
        {"two errors",
         "format: 1\nchannels:\n  3: {receive: 450, power: max}\n",
         {"apply", bad, "--settings", kSettings, "-o", out},
         1,
         bad + ":3:16: channels.3.receive: '450' is outside the band 136.00000-173.99500 MHz\n" +
             bad + ":3:28: channels.3.power: 'max' is not a choice; allowed: low, high\n" +
             "halvex-cli: apply: 2 errors in " + bad + "; nothing written\n"},
        {"a band --into's file lacks",
         "format: 1\nband: 1\n",
         {"apply", bad, "--into", kChannels, "--settings", kSettings, "-o", out},
         1,
         bad +
             ":2:7: band: '1' is not the band of the file it goes into (0); a new band needs "
             "a new document\nhalvex-cli: apply: 1 error in " +
             bad + "; nothing written\n"},
        {"more errors than a screen holds",
         "format: 1\noptions:\n" +
             [] {
                 std::string lines;
                 for (int k = 0; k < 200; ++k) {
                     lines += "  beep: on\n";
                 }
                 return lines;
             }(),
         {"apply", bad, "--settings", kSettings, "-o", out},
         1,
         [&bad] {
             std::string lines;
             for (int line = 4; line < 54; ++line) {
                 lines += bad + ":" + std::to_string(line) +
                          ":3: options.beep: repeated key; each key is given once\n";
             }
             return lines + bad + ": and 149 more\nhalvex-cli: apply: 199 errors in " + bad +
                    "; nothing written\n";
         }()},
        {"a cut-short file to dump",
         "",
         {"dump", kDataDir + "/pgm/truncated_image.pgm", "--settings", kSettings, "-o",
          File("out.yaml")},
         1,
         ""},
        {"a text form in diff with an error",
         "format: 1\nchanels: {}\n",
         {"diff", "--settings", kSettings, bad, kChannels},
         2,
         ""},
    };
    for (const FailureCase& row : cases) {
        if (!row.text.empty()) {
            Write(bad, row.text);
        }
        const RunResult result = Run(row.arguments);
        EXPECT_EQ(result.exitCode, row.exitCode) << row.name << "\n" << result.err;
        if (!row.err.empty()) {
            EXPECT_EQ(result.err, row.err) << row.name;
        } else {
            EXPECT_NE(result.err.find("halvex-cli: "), std::string::npos) << row.name;
        }
        EXPECT_TRUE(result.out.empty()) << row.name << "\n" << result.out;
        EXPECT_FALSE(std::filesystem::exists(out)) << row.name;
        EXPECT_FALSE(std::filesystem::exists(File("out.yaml"))) << row.name;
    }
}

}  // namespace
