// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile command lines against the real halvex-cli and radio-sim: each is refused before any
// work, with its exit code and a message naming the fault, and no file and no radio changes.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "cli_run_fixture.h"
#include "sim/virtual_radio.h"

namespace {

namespace fs = std::filesystem;

class CliArgumentsTest : public CliRunFixture {
protected:
    void SetUp() override {
        fs::copy_file(std::string(HALVEX_TEST_DATA_DIR) + "/settings/single_bands.ini", m_Settings);
        m_Folder.Write("IN.csv", "Location,Name,Frequency\n1,CH1,146.52\n");
        ASSERT_EQ(
            Run({"import", File("IN.csv"), "--settings", m_Settings, "-o", File("A.pgm")}).exitCode,
            0);
        fs::create_hard_link(File("A.pgm"), File("hard.pgm"));
        fs::create_symlink(m_Settings, File("settings-link.ini"));
        ASSERT_EQ(mkfifo(File("fifo.csv").c_str(), 0600), 0);
        m_Folder.Write("readonly.pgm", ReadBytes(File("A.pgm")));
        chmod(File("readonly.pgm").c_str(), 0444);
        m_Folder.Write("short.pgm", ReadBytes(File("A.pgm")).substr(0, 100));
        fs::create_directory(File("dir"));
        fs::create_symlink(std::string(HALVEX_BIN_DIR) + "/radio-sim", File("halvex-radio-sim"));
        fs::create_symlink("loop.pgm", File("loop.pgm"));
        std::string error;
        m_Radio.SetMemory(m_Memory);
        ASSERT_TRUE(m_Radio.Start(m_Cable, {}, &error)) << error;
    }
    void TearDown() override { m_Radio.Stop(); }

    // Every file of the folder but the captured output, with its bytes and mode.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(m_Folder.Path())) {
            std::string name = entry.path().filename();
            if (name == "stdout.txt" || name == "stderr.txt") {
                continue;
            }
            struct stat status {};
            lstat(entry.path().c_str(), &status);
            files[name] = std::to_string(status.st_mode) +
                          (S_ISREG(status.st_mode) ? ReadBytes(entry.path()) : "");
        }
        return files;
    }

    std::string m_Settings = File("setting.ini");
    std::string m_Cable = File("cable");
    RadioMemory m_Memory = [] {
        RadioMemory memory;
        memory.fill(0x5A);
        return memory;
    }();
    VirtualRadio m_Radio;
};

TEST_F(CliArgumentsTest, RefusedLinesChangeNothingAndNeverWakeTheRadio) {
    const std::string sim = std::string(HALVEX_BIN_DIR) + "/radio-sim";
    const std::vector<std::string> s = {"--settings", m_Settings};
    auto line = [&s](std::vector<std::string> head, std::vector<std::string> tail) {
        head.insert(head.end(), s.begin(), s.end());
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string says;
        std::string mustNotSay = "\x1b";
        bool cli = true;
    };
    const Case cases[] = {
        {line({"read", "--device", m_Cable}, {}), 1, "-o FILE.pgm is missing"},
        {line({"read", "--device", m_Cable}, {"-o", ""}), 1, "-o is given an empty value"},
        {line({"write", "--device", ""}, {File("A.pgm")}), 1, "--device is given an empty"},
        {line({"read", "--port", ""}, {"-o", File("out.pgm")}), 1, "--port is given an empty"},
        {{"read", "--device", m_Cable, "--settings", "", "-o", File("out.pgm")}, 1, "--settings"},
        {line({"new", "--band", ""}, {"-o", File("out.pgm")}), 1, "--band is given an empty"},
        {line({"new"}, {"-o", File("a.pgm"), "-o", File("b.pgm")}), 1, "-o is given twice"},
        {line({"write", "--force", "--force", "--device", m_Cable}, {File("A.pgm")}), 1,
         "--force is given twice"},
        {line({"write", "--verify", "--no-verify", "--device", m_Cable}, {File("A.pgm")}), 1,
         "only one of --verify and --no-verify"},
        {line({"read", "--port", "1", "--device", m_Cable}, {"-o", File("out.pgm")}), 1,
         "only one of --port and --device"},
        {line({"read", "--device", m_Cable}, {"-o", File("out.pgm"), "--bogus"}), 1,
         "unknown option '--bogus'"},
        {line({"export"}, {File("A.pgm"), "-o", File("A.pgm")}), 1, "which this command reads"},
        {line({"export"}, {File("A.pgm"), "-o", File("hard.pgm")}), 1, "which this command reads"},
        {line({"export"}, {File("A.pgm"), "-o", m_Settings}), 1, "which this command reads"},
        {line({"import", File("IN.csv")}, {"-o", File("IN.csv")}), 1, "which this command reads"},
        {line({"import", File("IN.csv")}, {"--into", File("A.pgm"), "-o", File("hard.pgm")}), 1,
         "which this command reads"},
        {line({"new"}, {"-o", File("settings-link.ini")}), 1, "which this command reads"},
        {line({"read", "--device", m_Cable}, {"-o", File("settings-link.ini")}), 1, "reads"},
        {line({"import", File("fifo.csv")}, {"-o", File("out.pgm")}), 1, "not a regular file"},
        {line({"new"}, {"-o", File("readonly.pgm")}), 1, "read-only"},
        {line({"read", "--device", m_Cable}, {"-o", "/proc/halvex-out.pgm"}), 1, "no new file"},
        {line({"read", "--device", m_Cable}, {"-o", File(std::string(300, 'n') + ".pgm")}), 1,
         "file name is 304 bytes long, more than the"},
        {line({"read", "--device", m_Cable}, {"-o", File("loop.pgm")}), 1, "go round in a loop"},
        {line({"read", "--device", m_Cable}, {"-o", "-"}), 1, "-o -: this command writes a file"},
        {line({"station", File("A.pgm"), "--device", m_Cable}, {"--log", "-"}), 1,
         "--log -: this command writes a file"},
        {line({"new"}, {"-o", "-"}), 1, "-o -: this command writes a file, not standard output"},
        {line({"import", File("IN.csv")}, {"-o", "-"}), 1, "-o -: this command writes a file"},
        {{"info", File("A.pgm"), "--settings", "-"}, 1, "--settings -: the settings are read"},
        {line({"station", "-", "--device", m_Cable}, {}), 1, "standard input gives the cable"},
        // Files under /proc claim no size: they are read to the end and named for what they are.
        {line({"dump", "/proc/self/status"}, {}), 1, "/proc/self/status is not a radio data file"},
        {line({"write", "--device", m_Cable}, {"/proc/self/status"}), 1, "not a radio data file;"},
        {line({"import", "/proc/self/status"}, {"-o", File("o.pgm")}), 1, "no Frequency column"},
        {line({"apply", "/proc/self/mem"}, {"-o", File("o.pgm")}), 1, "mem: Input/output error"},
        {line({"write", "--device", m_Cable}, {File("missing.pgm")}), 1, "missing.pgm", "--force"},
        {line({"write", "--device", m_Cable}, {File("dir")}), 1, "folder", "--force"},
        {line({"diff"}, {File("A.pgm"), File("short.pgm")}), 2, "short.pgm"},
        {line({"diff"}, {File("A.pgm")}), 2, "B.pgm is missing"},
        {line({"info"}, {File("A.pgm"), "\x1b]0;retitled\a" + std::string(5000, 'x')}), 1,
         "unexpected argument '\\e]0;retitled\\x07xxx"},
        {{sim, "--link", m_Cable, "--link", File("other")}, 2, "--link is given twice", "", false},
        // Its messages carry the name it was started as.
        {{File("halvex-radio-sim"), "--link=" + File("x"), "--memory=" + File("dir")},
         1,
         "halvex-radio-sim: ",
         "",
         false},
        {{File("halvex-radio-sim"), "--echo=1"},
         2,
         "halvex-radio-sim: --echo takes no value",
         "",
         false},
        {line({"read", "--device=" + m_Cable}, {"-o" + File("out.pgm"), "--bogus=1"}), 1,
         "unknown option '--bogus=1'"},
        {line({"write", "--verify=yes", "--device", m_Cable}, {File("A.pgm")}), 1,
         "--verify takes no value"},
        {{sim, "--link", ""}, 2, "--link is given an empty value", "", false},
        {{sim, "--ident-length", "many"}, 2, "--ident-length needs a valid value", "", false},
    };
    const std::map<std::string, std::string> before = Snapshot();
    for (const Case& c : cases) {
        std::string trace;
        for (const std::string& argument : c.arguments) {
            trace += argument.substr(0, 40) + ' ';
        }
        SCOPED_TRACE(trace);
        RunResult result = c.cli ? Run(c.arguments) : RunProgram(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        if (!c.mustNotSay.empty()) {
            EXPECT_EQ(result.err.find(c.mustNotSay), std::string::npos) << result.err;
        }
        EXPECT_LT(result.err.size(), 2500u) << "an echoed value is cut short";
        EXPECT_EQ(Snapshot(), before);
        EXPECT_TRUE(m_Radio.ReceivedBytes().empty());
    }
    EXPECT_EQ(m_Radio.Memory(), m_Memory);
}

TEST_F(CliArgumentsTest, FileTextEchoedOnTheTerminalIsEscapedAndCut) {
    const std::string hostile = "\"\x1b[2J\x1b]0;retitled\a" + std::string(20000, '\n') + "\"";
    m_Folder.Write("hostile.csv", "Location,Name,Frequency\n" + hostile + ",x,146.52\n");
    RunResult result =
        Run({"import", File("hostile.csv"), "--settings", m_Settings, "-o", File("out.pgm")});
    EXPECT_EQ(result.err.find('\x1b'), std::string::npos) << result.err;
    EXPECT_LT(std::count(result.err.begin(), result.err.end(), '\n'), 5) << result.err;
}

}  // namespace
