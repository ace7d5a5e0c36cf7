// SPDX-License-Identifier: GPL-3.0-or-later
// Where halvex-cli's output goes and where its input comes from: standard output that takes
// nothing, "-" for the standard streams, and files reached through symbolic links. Each outcome is
// checked as a user relies on it: exit code, message, files.
#include <filesystem>
#include <map>

#include "codeplug/pgm_file.h"
#include "support/cli_run_fixture.h"

namespace {

namespace fs = std::filesystem;

const std::string kChannels = std::string(HALVEX_TEST_DATA_DIR) + "/pgm/v1_05_channels.pgm";

class CliOutputTest : public CliRunFixture {
protected:
    void SetUp() override {
        fs::copy_file(std::string(HALVEX_TEST_DATA_DIR) + "/settings/single_bands.ini", m_Settings);
        fs::copy_file(kChannels, File("A.pgm"));
        ASSERT_EQ(Run({"new", "--settings", m_Settings, "-o", File("B.pgm")}).exitCode, 0);
        ASSERT_EQ(
            Run({"dump", "--settings", m_Settings, File("A.pgm"), "-o", File("A.yaml")}).exitCode,
            0);
        ASSERT_EQ(
            Run({"export", "--settings", m_Settings, File("A.pgm"), "-o", File("A.csv")}).exitCode,
            0);
    }

    std::string m_Settings = File("setting.ini");
};

TEST_F(CliOutputTest, OutputThatCannotBeWrittenFailsTheCommand) {
    const std::vector<std::string> s = {"--settings", m_Settings};
    auto line = [&s](std::vector<std::string> head) {
        head.insert(head.end(), s.begin(), s.end());
        return head;
    };
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
    };
    const Case cases[] = {
        {line({"dump", File("A.pgm")}), 1},
        {line({"export", File("A.pgm")}), 1},
        {line({"info", File("A.pgm")}), 1},
        {line({"info", File("A.pgm"), "--csv"}), 1},
        {line({"ports"}), 1},
        {line({"ports", "--json"}), 1},
        {{"--help"}, 1},
        {{"dump", "--help"}, 1},
        {line({"diff", File("A.pgm"), File("B.pgm")}), 2},
        {line({"diff", File("A.pgm"), File("A.pgm")}), 2},
    };
    const std::map<std::string, std::string> before = Snapshot();
    for (const Case& c : cases) {
        for (bool closed : {false, true}) {
            SCOPED_TRACE(c.arguments[0] + " " + c.arguments.back() +
                         (closed ? " closed" : " /dev/full"));
            ProgramStreams streams;
            streams.closeStdout = closed;
            streams.stdoutPath = closed ? "" : "/dev/full";
            RunResult result = RunWith(streams, c.arguments);
            EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
            EXPECT_NE(result.err.find(closed ? "cannot write to standard output: it is closed"
                                             : "cannot write to standard output: No space left"),
                      std::string::npos)
                << result.err;
            EXPECT_EQ(Snapshot(), before);
        }
    }
    // A command that prints nothing on standard output does not fail for its being closed.
    ProgramStreams closed;
    closed.closeStdout = true;
    RunResult result = RunWith(closed, line({"new", "-o", File("C.pgm")}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(File("C.pgm")).size(), kPgmFileSize);
}

TEST_F(CliOutputTest, DashIsAStandardStreamAndNeverAFile) {
    auto line = [this](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--settings", m_Settings});
        return arguments;
    };
    struct Case {
        std::string input;
        std::vector<std::string> arguments;
        int exitCode;
        std::string says;
        std::string writes = "";
    };
    const Case cases[] = {
        {"", line({"export", File("A.pgm"), "-o", "-"}), 0, "Location,Name,Frequency"},
        {"", line({"dump", File("A.pgm"), "-o", "-"}), 0, "channels:"},
        {File("A.pgm"), line({"info", "-"}), 0, "Used channels: 3 of"},
        {File("A.pgm"), line({"export", "-"}), 0, "Location,Name,Frequency"},
        {File("A.pgm"), line({"diff", "-", File("A.pgm")}), 0, "the same channels"},
        {File("A.csv"), line({"import", "-", "-o", File("out.pgm")}), 0, "", "out.pgm"},
        {File("A.yaml"), line({"apply", "-", "-o", File("out.pgm")}), 0, "", "out.pgm"},
        {File("A.pgm"), line({"import", "-", "-o", File("out.pgm")}), 1,
         "import: standard input: "},
        {File("A.csv"), line({"info", "-"}), 1, "standard input is not a radio data file"},
        {File("A.pgm"), line({"diff", "-", "-"}), 2, "standard input (-) is given twice"},
    };
    for (const Case& c : cases) {
        std::string trace;
        for (const std::string& argument : c.arguments) {
            trace += fs::path(argument).filename().string() + ' ';
        }
        SCOPED_TRACE(trace);
        fs::remove(File("out.pgm"));
        const std::map<std::string, std::string> before = Snapshot();
        ProgramStreams streams;
        streams.stdinPath = c.input;
        streams.folder = m_Folder.Path();
        RunResult result = RunWith(streams, c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_NE((result.out + result.err).find(c.says), std::string::npos)
            << result.out << result.err;
        EXPECT_EQ(result.err.find("/proc/self/fd"), std::string::npos) << result.err;
        EXPECT_FALSE(fs::exists(File("-"))) << "a file called - was made";
        std::map<std::string, std::string> after = Snapshot();
        if (!c.writes.empty()) {
            EXPECT_EQ(ReadBytes(File(c.writes)).size(), kPgmFileSize);
            after.erase(c.writes);
        }
        EXPECT_EQ(after, before);
    }
}

TEST_F(CliOutputTest, WritesGoThroughSymbolicLinksToTheirTargets) {
    fs::create_directory(File("real"));
    fs::copy_file(File("B.pgm"), File("real/existing.pgm"));
    fs::create_symlink("real/existing.pgm", File("to-existing.pgm"));
    fs::create_symlink("real/missing.pgm", File("to-missing.pgm"));
    fs::create_symlink("to-existing.pgm", File("chain.pgm"));
    fs::create_symlink("real/gone/missing.pgm", File("to-no-folder.pgm"));
    struct Case {
        std::string link;
        std::string target;
        bool written;
    };
    const Case cases[] = {
        {"to-existing.pgm", "real/existing.pgm", true},
        {"to-missing.pgm", "real/missing.pgm", true},
        {"chain.pgm", "real/existing.pgm", true},
        {"to-no-folder.pgm", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        fs::remove(File("real/missing.pgm"));
        fs::resize_file(File("real/existing.pgm"), 0);
        RunResult result =
            Run({"import", File("A.csv"), "--settings", m_Settings, "-o", File(c.link)});
        EXPECT_EQ(result.exitCode, c.written ? 0 : 1) << result.err;
        EXPECT_TRUE(fs::is_symlink(File(c.link)));
        if (c.written) {
            EXPECT_EQ(ReadBytes(File(c.target)).size(), kPgmFileSize);
        } else {
            EXPECT_NE(result.err.find("does not exist"), std::string::npos) << result.err;
        }
        for (const auto& entry : fs::directory_iterator(File("real"))) {
            EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
        }
    }
}

}  // namespace
