// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli doctor as a user runs it: its words and exit status for each cause, and that the
// settings and the radio stay as they were.
#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_read_write.h"
#include "link/clone_frames.h"
#include "sim/virtual_radio.h"
#include "support/cli_run_fixture.h"
#include "support/fake_device_tree.h"
#include "support/frame_trace.h"
#include "support/virtual_radio_fixture.h"

namespace {

using halvex::test::FrameTrace;
using halvex::test::ParseFrameTrace;
using halvex::test::PatternMemory;
using halvex::test::RadioLine;
using halvex::test::ReceivedBeforeMarker;

const std::string kBinDir = HALVEX_BIN_DIR;

class CliDoctorTest : public CliRunFixture {
protected:
    CliDoctorTest() { halvex::test::WriteLinkSettings(Settings(), {{"rwtype", 1}}); }
    ~CliDoctorTest() override { m_Radio.Stop(); }

    std::string Settings() const { return File("setting.ini"); }

    void StartRadio(const std::string& link, const VirtualRadioOptions& options) {
        std::string error;
        m_Radio.SetMemory(PatternMemory(2));
        ASSERT_TRUE(m_Radio.Start(link, options, &error)) << error;
    }

    VirtualRadio m_Radio;
};

// Each cause also traced with --verbose: the same words, and a trace that is what the radio
// heard, beginning with the wake-up, one open and close per cable type tried.
TEST_F(CliDoctorTest, EachAnsweringCauseHasItsWordsAndExitStatus) {
    struct Case {
        const char* name;
        bool echoLine;
        bool silent;
        int identificationLength;
        int rwtype;
        int exitCode;
        const char* words;
        long tries;
    };
    const Case cases[] = {
        {"good radio", false, false, 8, 1, 0, "An RQ870 radio answered on ", 1},
        {"silent radio", false, true, 8, 1, kExitNoRadio, "two-pin plug", 1},
        {"echoing cable on direct", true, false, 8, 1, kExitNoRadio,
         "Switch the cable type to Echoing.\nIn the settings file: rwtype=2 in section [setup]", 2},
        {"plain cable on echoing", false, false, 8, 2, kExitWrongRadio,
         "Switch the cable type to Direct.\nIn the settings file: rwtype=1 in section [setup]", 2},
        {"other model", false, false, 5, 1, kExitWrongRadio, "identification has 5 bytes", 1},
    };
    std::string link = File("cable");
    const std::vector<uint8_t> wakeUp(std::begin(clone_frames::kWakeUpFrame),
                                      std::end(clone_frames::kWakeUpFrame));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualRadioOptions options = RadioLine(c.echoLine);
        options.faults.silent = c.silent;
        options.faults.identificationLength = c.identificationLength;
        halvex::test::WriteLinkSettings(Settings(), {{"rwtype", c.rwtype}});
        std::string settingsBefore = ReadBytes(Settings());
        std::vector<std::string> arguments = {"doctor", "--device", link, "--settings", Settings()};
        StartRadio(link, options);
        RunResult result = Run(arguments);
        m_Radio.Stop();
        EXPECT_EQ(result.exitCode, c.exitCode) << result.out << result.err;
        EXPECT_NE(result.out.find(c.words), std::string::npos) << result.out;
        EXPECT_EQ(ReadBytes(Settings()), settingsBefore);
        EXPECT_TRUE(m_Radio.Memory() == PatternMemory(2));

        StartRadio(link, options);
        arguments.push_back("--verbose");
        RunResult traced = Run(arguments);
        std::optional<std::vector<uint8_t>> heard = ReceivedBeforeMarker(m_Radio, link);
        m_Radio.Stop();
        EXPECT_EQ(traced.exitCode, c.exitCode);
        EXPECT_EQ(traced.out, result.out);
        // The settings' own notes come first, as untraced.
        ASSERT_TRUE(traced.err.starts_with(result.err)) << traced.err;
        std::optional<FrameTrace> trace = ParseFrameTrace(traced.err.substr(result.err.size()));
        ASSERT_TRUE(trace) << traced.err;
        ASSERT_TRUE(heard);
        EXPECT_EQ(trace->sent, *heard);
        ASSERT_GE(trace->sent.size(), wakeUp.size());
        EXPECT_TRUE(std::equal(wakeUp.begin(), wakeUp.end(), trace->sent.begin()));
        EXPECT_EQ(trace->answers.empty(), c.silent) << traced.err;
        EXPECT_EQ(trace->opened, std::vector<std::string>(c.tries, link));
        EXPECT_EQ(trace->closes, c.tries);
        EXPECT_TRUE(m_Radio.Memory() == PatternMemory(2));
    }
}

// A port number goes through the same ports/COMn mapping as read and write, and no port at
// all means the one of the settings.
TEST_F(CliDoctorTest, APortNumberIsCheckedWhereReadWouldOpenIt) {
    constexpr int kPort = 243;
    std::string link = kBinDir + "/ports/COM" + std::to_string(kPort);
    StartRadio(link, RadioLine(false));
    RunResult found = Run({"doctor", "--port", std::to_string(kPort), "--settings", Settings()});
    // Neither given: the device of the settings, as read and write take it.
    halvex::test::WriteLinkSettings(Settings(), {{"device", link}});
    RunResult configured = Run({"doctor", "--settings", Settings()});
    m_Radio.Stop();
    EXPECT_EQ(configured.exitCode, 0) << configured.out << configured.err;
    EXPECT_EQ(configured.out.rfind("An RQ870 radio answered on " + link + ".", 0), 0u)
        << configured.out;
    EXPECT_EQ(found.exitCode, 0) << found.out << found.err;
    EXPECT_EQ(found.out.rfind("An RQ870 radio answered on COM243 (" + link + ").", 0), 0u)
        << found.out;
}

// The devices present come from the same tree halvex-cli ports lists.
TEST_F(CliDoctorTest, AMissingDeviceSuggestsTheAdapterThatIsThere) {
    halvex::test::FakeDeviceTree tree;
    tree.AddBuiltInPort("ttyS0", 4);
    tree.AddUsbAdapter({"ttyUSB1", "ch341", "1a86", "7523", "", "USB Serial", ""});
    std::string stable = tree.AddStableName("usb-1a86_USB_Serial-if00-port0", "ttyUSB1");
    setenv("HALVEX_SYSFS_ROOT", tree.Roots().sysRoot.c_str(), 1);
    setenv("HALVEX_DEV_ROOT", tree.Roots().devRoot.c_str(), 1);
    std::string missing = tree.DevicePath("ttyUSB0");
    RunResult result = Run({"doctor", "--device", missing, "--settings", Settings()});
    unsetenv("HALVEX_SYSFS_ROOT");
    unsetenv("HALVEX_DEV_ROOT");
    EXPECT_EQ(result.exitCode, kExitNoRadio);
    EXPECT_EQ(result.out.rfind(missing + " does not exist", 0), 0u) << result.out;
    EXPECT_NE(result.out.find(tree.DevicePath("ttyS0")), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(stable + "  "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Try: halvex-cli doctor --device " + stable), std::string::npos)
        << result.out;
}

TEST_F(CliDoctorTest, UsageErrorsStopBeforeAnyCheck) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"doctor", "--port", "1", "--device", "/dev/null"},
          {"doctor", "--port", "0"},
          {"doctor", "--device"},
          {"doctor", "--device", "/dev/null", "--verify"}}) {
        RunResult result = Run(arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments.size();
        EXPECT_NE(result.err.find("halvex-cli: doctor: "), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
}

// A copy whose language files went missing says so instead of printing findings without
// words, and checks nothing.
TEST_F(CliDoctorTest, WithoutTheEnglishTextsNothingIsCheckedAndTheFileIsNamed) {
    halvex::test::TempFolder copy("halvex_cli_copy");
    const std::string program = copy.File("halvex-cli");
    std::filesystem::copy_file(HALVEX_CLI_PATH, program);
    std::filesystem::copy_file(Settings(), copy.File("setting.ini"));
    RunResult result = RunProgram({program, "doctor", "--device", "/dev/null"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("halvex-cli: doctor: " + copy.File("english.lang") + " is missing"),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
}

// As the user would meet it: nobody, not in dialout, on a node of group dialout.
TEST_F(CliDoctorTest, NoPermissionTellsTheCommandToJoinTheGroup) {
    if (geteuid() != 0 || access("/usr/sbin/runuser", X_OK) != 0) {
        GTEST_SKIP() << "needs root and runuser to run the check as an unprivileged user";
    }
    group* dialout = getgrnam("dialout");
    if (dialout == nullptr) {
        GTEST_SKIP() << "this system has no dialout group";
    }
    chmod(m_Folder.Path().c_str(), 0755);
    chmod(Settings().c_str(), 0644);
    std::string node = File("ttyUSB0");
    ASSERT_EQ(mknod(node.c_str(), S_IFCHR, makedev(1, 3)), 0);
    ASSERT_EQ(chown(node.c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(chmod(node.c_str(), 0660), 0);
    RunResult result = RunProgram({"/usr/sbin/runuser", "-u", "nobody", "--", HALVEX_CLI_PATH,
                                   "doctor", "--device", node, "--settings", Settings()});
    EXPECT_EQ(result.exitCode, kExitNoRadio) << result.out << result.err;
    EXPECT_NE(result.out.find("belongs to group dialout"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("sudo usermod -aG dialout $USER"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("log out and in again"), std::string::npos) << result.out;
}

}  // namespace
