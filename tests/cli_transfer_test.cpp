// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli read and write as a user runs them, against the virtual radio.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_read_write.h"
#include "cli/cli_support.h"
#include "codeplug/document.h"
#include "codeplug/pgm_file.h"
#include "config/settings.h"
#include "link/clone_frames.h"
#include "platform/profile.h"
#include "sim/virtual_radio.h"
#include "support/frame_trace.h"
#include "support/link_test_support.h"
#include "support/module_folder.h"
#include "support/program_globals.h"
#include "support/program_run.h"
#include "support/quiet_prompts.h"
#include "support/virtual_radio_fixture.h"

#include <sys/stat.h>

namespace {

const std::string kBinDir = HALVEX_BIN_DIR;

using halvex::test::ReadBytes;
using halvex::test::ReceivedBeforeMarker;

struct Completed {
    int exitCode = -1;
    std::string errors;
};

class CliTransferTest : public ::testing::Test {
protected:
    CliTransferTest() {
        m_Dir.CopyFromBin({"setting.ini"});
        // Good answers end each wait at once; the long time-outs only keep a busy machine
        // from turning a slow answer into a failure.
        m_Dir.ChangeSettings({{"searchcom", 0}, {"readtime", 2000}, {"writetime", 2000}});
        // Backups of reads go to the test's own folder, never the user's.
        setenv("XDG_STATE_HOME", File("state").c_str(), 1);
    }
    ~CliTransferTest() override { m_Radio.Stop(); }

    std::string File(const std::string& name) const { return m_Dir.File(name); }

    void StartRadio(const std::string& link, const VirtualRadioOptions& options,
                    const RadioMemory& memory) {
        std::string error;
        m_Radio.SetMemory(memory);
        ASSERT_TRUE(m_Radio.Start(link, options, &error)) << error;
    }

    // program: a copy of halvex-cli elsewhere, which takes its COMn from the ports/ beside it.
    pid_t Spawn(std::vector<std::string> arguments,
                const std::string& program = kBinDir + "/halvex-cli") const {
        arguments.insert(arguments.begin(), program);
        halvex::test::ProgramStreams streams;
        streams.stderrPath = File("stderr.txt");
        return halvex::test::SpawnProgram(arguments, streams);
    }

    Completed Wait(pid_t child) const {
        Completed completed;
        int status = 0;
        if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
            completed.exitCode = WEXITSTATUS(status);
        }
        completed.errors = ReadBytes(File("stderr.txt"));
        return completed;
    }

    Completed Run(const std::vector<std::string>& arguments,
                  const std::string& program = kBinDir + "/halvex-cli") const {
        return Wait(Spawn(arguments, program));
    }

    // The image a new document starts from before a read.
    std::array<uint8_t, kImageSize> NewDocumentImage() const {
        halvex::test::QuietPrompts prompts;
        CHalvexDoc document(prompts, DocumentSettingsFor(m_Dir.SettingsPath(), 1));
        document.OnNewDocument(true);
        document.EditImage().PrepareImage();
        return document.Image().bytes;
    }

    halvex::test::ModuleFolder m_Dir{"halvex_cli"};
    halvex::test::UseModuleFolder m_UseDir{m_Dir};
    VirtualRadio m_Radio;
};

TEST_F(CliTransferTest, ReadThenWriteRoundTrip) {
    std::string link = m_Dir.PortLink(1);
    RadioMemory memory = PatternMemory(3);
    StartRadio(link, {}, memory);
    std::string read = File("read.pgm");
    Completed completed =
        Run({"read", "--device", link, "--settings", m_Dir.SettingsPath(), "-o", read});
    ASSERT_EQ(completed.exitCode, 0) << completed.errors;

    PgmFile file;
    std::string error;
    ASSERT_EQ(LoadPgmFile(read, &file, &error), PgmLoadResult::Loaded) << error;
    std::array<uint8_t, kImageSize> fresh = NewDocumentImage();
    EXPECT_TRUE(std::equal(file.image.begin(), file.image.begin() + 0x0800, fresh.begin()));
    EXPECT_TRUE(std::equal(file.image.begin() + 0x0800, file.image.end(), memory.begin() + 0x0800));

    // Send back an edited image to a blank radio: it receives the image PrepareImage derives.
    halvex::test::QuietPrompts prompts;
    CHalvexDoc document(prompts, DocumentSettingsFor(m_Dir.SettingsPath(), 1));
    ASSERT_TRUE(document.OnOpenDocument(read, &error)) << error;
    document.EditImage().SetPowerHigh(1, !document.Image().GetPowerHigh(1));
    std::string edited = File("edited.pgm");
    ASSERT_TRUE(document.OnSaveDocument(edited, &error)) << error;
    document.EditImage().PrepareImage();
    m_Radio.Stop();
    RadioMemory blank;
    blank.fill(0xFF);
    StartRadio(link, {}, blank);
    completed = Run({"write", "--device", link, "--settings", m_Dir.SettingsPath(), edited});
    ASSERT_EQ(completed.exitCode, 0) << completed.errors;
    RadioMemory written = m_Radio.Memory();
    EXPECT_TRUE(std::equal(written.begin() + 0x0800, written.end(),
                           document.Image().bytes.begin() + 0x0800));
    EXPECT_TRUE(std::all_of(written.begin(), written.begin() + 0x0800,
                            [](uint8_t b) { return b == 0xFF; }));
}

TEST_F(CliTransferTest, PortNumberFindsTheEchoingCableBesideTheProgram) {
    // A port number far from any other test's, linked beside halvex-cli itself.
    constexpr int kPort = 241;
    std::string link = kBinDir + "/ports/COM" + std::to_string(kPort);
    RadioMemory memory = PatternMemory(4);
    VirtualRadioOptions options;
    options.echo = true;
    StartRadio(link, options, memory);
    m_Dir.ChangeSettings({{"rwtype", 2}});
    std::string read = File("echo.pgm");
    Completed completed = Run(
        {"read", "--port", std::to_string(kPort), "--settings", m_Dir.SettingsPath(), "-o", read});
    m_Radio.Stop();
    ASSERT_EQ(completed.exitCode, 0) << completed.errors;
    PgmFile file;
    std::string error;
    ASSERT_EQ(LoadPgmFile(read, &file, &error), PgmLoadResult::Loaded) << error;
    EXPECT_TRUE(std::equal(file.image.begin() + 0x0800, file.image.end(), memory.begin() + 0x0800));
}

TEST_F(CliTransferTest, FailuresGiveTheirExitStatusAndKeepTheOutputFile) {
    struct Case {
        std::string name;
        bool read;
        VirtualRadioFaults faults;
        int exitCode;
        std::string says;
        bool echo = false;
    };
    VirtualRadioFaults silent;
    silent.silent = true;
    VirtualRadioFaults wrongRadio;
    wrongRadio.identificationLength = 7;
    VirtualRadioFaults shortAnswer;
    shortAnswer.shortAnswerBlock = 0x1230;
    shortAnswer.shortAnswerTimes = 3;
    VirtualRadioFaults skipped;
    skipped.wrongAddressBlock = 0x0D40;
    skipped.wrongAddressTimes = 3;
    VirtualRadioFaults noAck;
    noAck.noAckBlock = 0x0900;
    noAck.noAckTimes = 3;
    // Faults that cost a time-out each try wait it out in full.
    m_Dir.ChangeSettings({{"readtime", 20}, {"writetime", 20}});
    std::string link = m_Dir.PortLink(1);
    std::string output = File("kept.pgm");
    std::string input = File("input.pgm");
    std::string error;
    ASSERT_TRUE(SavePgmFile(input, NewPgmFile(), &error)) << error;
    for (const Case& c : {Case{"no radio", true, silent, kExitNoRadio, "switched on"},
                          Case{"wrong radio", true, wrongRadio, kExitWrongRadio, "radio type"},
                          Case{"read fails", true, shortAnswer, kExitReadFailed, "cable"},
                          Case{"block skipped", true, skipped, kExitReadFailed,
                               "1 block could not be read: 0x0D40;"},
                          Case{"echoing cable", true, {}, kExitNoRadio, "(rwtype=2 in", true},
                          Case{"write fails", false, noAck, kExitWriteFailed, "cable"}}) {
        SCOPED_TRACE(c.name);
        {
            std::ofstream previous(output, std::ios::trunc);
            previous << "previous contents";
        }
        VirtualRadioOptions options;
        options.faults = c.faults;
        options.echo = c.echo;
        StartRadio(link, options, PatternMemory(6));
        Completed completed =
            c.read
                ? Run({"read", "--device", link, "--settings", m_Dir.SettingsPath(), "-o", output})
                : Run({"write", "--device", link, "--settings", m_Dir.SettingsPath(), input});
        m_Radio.Stop();
        EXPECT_EQ(completed.exitCode, c.exitCode) << completed.errors;
        EXPECT_NE(completed.errors.find(c.says), std::string::npos) << completed.errors;
        EXPECT_EQ(std::count(completed.errors.begin(), completed.errors.end(), '\n'), 1)
            << completed.errors;
        EXPECT_EQ(ReadBytes(output), "previous contents");
    }
}

TEST_F(CliTransferTest, UsageFileAndPortErrorsStopBeforeAnyTransfer) {
    std::string settings = m_Dir.SettingsPath();
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
    };
    for (const Case& c : std::vector<Case>{
             {{"read", "--port", "2", "--device", "/dev/null", "--settings", settings}, 1},
             {{"read", "--port", "0", "--settings", settings}, 1},
             {{"write", "--device", m_Dir.PortLink(1), "--settings", settings}, 1},
             {{"write", "--device", m_Dir.PortLink(1), "--settings", settings, File("missing.pgm")},
              1},
             {{"read", "--device", File("no-such-port"), "--settings", settings, "-o",
               File("a.pgm")},
              kExitNoRadio},
             {{"read", "--port", "239", "--settings", settings, "-o", File("a.pgm")}, kExitNoRadio},
         }) {
        SCOPED_TRACE(c.arguments[1] + " " + c.arguments[2]);
        Completed completed = Run(c.arguments);
        EXPECT_EQ(completed.exitCode, c.exitCode) << completed.errors;
        EXPECT_FALSE(completed.errors.empty());
        EXPECT_FALSE(std::filesystem::exists(File("a.pgm")));
    }
}

// Ctrl-C, SIGTERM and SIGHUP (a closed terminal) all stop at a block boundary and say what
// the radio holds: a read leaves no file, a write stopped before any block leaves the radio as
// it was.
TEST_F(CliTransferTest, StopSignalsAtLineSpeedCancelAndSayWhatTheRadioHolds) {
    std::string link = m_Dir.PortLink(1);
    // A 9600 baud answer takes 25 ms; the signal, not a time-out, must end the exchange.
    m_Dir.ChangeSettings({{"readtime", 2000}});
    std::string output = File("interrupted.pgm");
    std::string input = File("input.pgm");
    std::string error;
    ASSERT_TRUE(SavePgmFile(input, NewPgmFile(), &error)) << error;
    struct Case {
        int signal;
        bool read;
        size_t afterBytes;
        std::string says;
    };
    for (const Case& c : {Case{SIGINT, true, 100, "output file was not written"},
                          Case{SIGTERM, true, 100, "output file was not written"},
                          Case{SIGHUP, true, 100, "output file was not written"},
                          Case{SIGINT, false, 1, "nothing was written"}}) {
        SCOPED_TRACE(std::to_string(c.signal) + (c.read ? " read" : " write"));
        VirtualRadioOptions options;
        options.pace9600 = true;
        // The write is stopped while the radio does not yet answer the wake-up.
        options.faults.ignoreWakeUps = c.read ? 0 : 1 << 30;
        RadioMemory memory = PatternMemory(7);
        StartRadio(link, options, memory);
        pid_t child =
            c.read ? Spawn({"read", "--device", link, "--settings", m_Dir.SettingsPath(), "-o",
                            output})
                   : Spawn({"write", "--device", link, "--settings", m_Dir.SettingsPath(), input});
        ASSERT_GT(child, 0);
        bool running = true;
        while (running && m_Radio.ReceivedBytes().size() < c.afterBytes) {
            int status = 0;
            running = waitpid(child, &status, WNOHANG) == 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_TRUE(running) << ReadBytes(File("stderr.txt"));
        kill(child, c.signal);
        Completed completed = Wait(child);
        EXPECT_EQ(completed.exitCode, kExitCancelled) << completed.errors;
        EXPECT_NE(completed.errors.find(c.says), std::string::npos) << completed.errors;
        EXPECT_FALSE(std::filesystem::exists(output));
        std::optional<std::vector<uint8_t>> sent = ReceivedBeforeMarker(m_Radio, link);
        ASSERT_TRUE(sent);
        sent->erase(sent->begin(), sent->begin() + std::min<size_t>(sent->size(), 9));
        EXPECT_EQ(std::count(sent->begin(), sent->end(), 0x62), 0) << "no end byte";
        EXPECT_EQ(m_Radio.Memory(), memory);
        m_Radio.Stop();
    }
}

// Ctrl-C in the wait after the end byte: every block is in the radio, so the write succeeded
// and the read-back the settings ask for does not start.
TEST_F(CliTransferTest, InterruptAfterTheLastBlockLeavesADoneWrite) {
    std::string link = m_Dir.PortLink(1);
    m_Dir.ChangeSettings({{"verifywrite", 1}});
    StartRadio(link, {}, PatternMemory(9));
    std::string input = File("input.pgm");
    std::string error;
    PgmFile file = NewPgmFile();
    for (size_t i = 0; i < file.image.size(); ++i) {
        file.image[i] = static_cast<uint8_t>(i * 3);
    }
    ASSERT_TRUE(SavePgmFile(input, file, &error)) << error;
    pid_t child = Spawn({"write", "--device", link, "--settings", m_Dir.SettingsPath(), input});
    ASSERT_GT(child, 0);
    // The wake-up, identification, acknowledgement, every data frame and the end byte.
    constexpr size_t kWholeWrite = 7 + 1 + 1 + 384 * 20 + 1;
    while (m_Radio.ReceivedBytes().size() < kWholeWrite) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    kill(child, SIGINT);
    Completed completed = Wait(child);
    EXPECT_EQ(completed.exitCode, kExitSuccess) << completed.errors;
    EXPECT_NE(completed.errors.find("the write is done"), std::string::npos) << completed.errors;
    std::vector<uint8_t> sent = m_Radio.ReceivedBytes();
    EXPECT_EQ(sent.size(), kWholeWrite) << "no read-back";
    EXPECT_EQ(sent.back(), 0x62);
    halvex::test::QuietPrompts prompts;
    CHalvexDoc document(prompts, DocumentSettingsFor(m_Dir.SettingsPath(), 1));
    document.EditImage().bytes = file.image;
    document.EditImage().PrepareImage();
    RadioMemory after = m_Radio.Memory();
    EXPECT_TRUE(
        std::equal(after.begin() + 0x0800, after.end(), document.Image().bytes.begin() + 0x0800));
}

TEST_F(CliTransferTest, InterruptEndsALongWaitForAnAcknowledgement) {
    std::string link = m_Dir.PortLink(1);
    VirtualRadioOptions options;
    options.faults.noAckBlock = 0x0800;
    options.faults.noAckTimes = 1 << 30;
    StartRadio(link, options, PatternMemory(8));
    m_Dir.ChangeSettings({{"writetime", 60000}});
    std::string input = File("input.pgm");
    std::string error;
    ASSERT_TRUE(SavePgmFile(input, NewPgmFile(), &error)) << error;
    pid_t child = Spawn({"write", "--device", link, "--settings", m_Dir.SettingsPath(), input});
    ASSERT_GT(child, 0);
    // The wake-up, identification, acknowledgement and the first data frame.
    while (m_Radio.ReceivedBytes().size() < 7 + 1 + 1 + 20) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(child, SIGINT);
    // Far below the capped 10 s wait for the acknowledgement.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (kill(child, 0) == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "halvex-cli went on waiting after Ctrl-C";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), kExitCancelled) << ReadBytes(File("stderr.txt"));
    std::optional<std::vector<uint8_t>> sent = ReceivedBeforeMarker(m_Radio, link);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->size(), 7u + 1u + 1u + 20u);
}

// --force may send a file of another header, never one of another size nor a channel list.
TEST_F(CliTransferTest, WriteRefusesIncompleteFilesBeforeWakingTheRadio) {
    std::string link = m_Dir.PortLink(1);
    RadioMemory memory = PatternMemory(8);
    const std::string data = std::string(HALVEX_TEST_DATA_DIR) + "/pgm/";
    const std::string channels = data + "v1_05_channels.pgm";
    const std::string settings = m_Dir.SettingsPath();
    ASSERT_EQ(Run({"export", "--settings", settings, channels, "-o", File("radio.csv")}).exitCode,
              0);
    std::string padded = ReadBytes(File("radio.csv"));
    padded.resize(kPgmFileSize, ',');
    m_Dir.Write("padded.csv", padded);
    struct Case {
        std::string file;
        bool force;
        std::string says;
        std::string mustNotSay;
    };
    std::vector<Case> cases = {
        {File("radio.csv"), true, "halvex-cli import", "--force"},
        {File("padded.csv"), true, "halvex-cli import", "--force"},
        {data + "foreign_header.pgm", false, "--force writes it anyway", "import"},
    };
    for (const char* name : {"empty.pgm", "short_header.pgm", "header_only.pgm",
                             "truncated_image.pgm", "too_long.pgm"}) {
        for (bool force : {false, true}) {
            cases.push_back({data + name, force, name, "--force"});
        }
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + (c.force ? " --force" : ""));
        StartRadio(link, {}, memory);
        std::vector<std::string> arguments = {"write", "--device", link, "--settings", settings};
        if (c.force) {
            arguments.push_back("--force");
        }
        arguments.push_back(c.file);
        Completed completed = Run(arguments);
        EXPECT_EQ(completed.exitCode, kExitFailure) << completed.errors;
        EXPECT_NE(completed.errors.find("nothing was sent to the radio"), std::string::npos)
            << completed.errors;
        EXPECT_NE(completed.errors.find(c.says), std::string::npos) << completed.errors;
        EXPECT_EQ(completed.errors.find(c.mustNotSay), std::string::npos) << completed.errors;
        EXPECT_TRUE(m_Radio.ReceivedBytes().empty());
        EXPECT_EQ(m_Radio.Memory(), memory);
        m_Radio.Stop();
    }

    // Forced, a whole image under another header goes out.
    StartRadio(link, {}, memory);
    Completed completed = Run({"write", "--force", "--device", link, "--settings", settings,
                               data + "foreign_header.pgm"});
    ASSERT_EQ(completed.exitCode, 0) << completed.errors;
    EXPECT_NE(m_Radio.Memory(), memory);
}

TEST_F(CliTransferTest, VerifiedWriteNamesTheBlocksTheRadioDidNotKeep) {
    std::string link = m_Dir.PortLink(1);
    std::string input = File("input.pgm");
    PgmFile file = NewPgmFile();
    RadioMemory pattern = PatternMemory(9);
    std::copy(pattern.begin(), pattern.end(), file.image.begin());
    std::string error;
    ASSERT_TRUE(SavePgmFile(input, file, &error)) << error;

    RadioMemory blank;
    blank.fill(0x00);
    StartRadio(link, {}, blank);
    Completed completed =
        Run({"write", "--verify", "--device", link, "--settings", m_Dir.SettingsPath(), input});
    EXPECT_EQ(completed.exitCode, 0) << completed.errors;
    // The read-back is a second dialogue, down to the request for the last block.
    std::vector<uint8_t> sent = m_Radio.ReceivedBytes();
    const uint8_t lastRequest[] = {0x52, 0x1F, 0xF0, 0x10};
    EXPECT_NE(std::search(sent.begin(), sent.end(), std::begin(lastRequest), std::end(lastRequest)),
              sent.end());
    m_Radio.Stop();

    VirtualRadioOptions options;
    options.faults.unstoredBlock = 0x1230;
    StartRadio(link, options, blank);
    completed =
        Run({"write", "--verify", "--device", link, "--settings", m_Dir.SettingsPath(), input});
    EXPECT_EQ(completed.exitCode, kExitWriteFailed) << completed.errors;
    EXPECT_NE(completed.errors.find("1 block differs: 0x1230"), std::string::npos)
        << completed.errors;
    m_Radio.Stop();

    // Without --verify the same radio passes for written, unless the settings ask for the
    // check, as the desktop's check box does; --no-verify skips it for one run.
    for (int verifyWrite : {0, 1}) {
        m_Dir.ChangeSettings({{"verifywrite", verifyWrite}});
        for (bool noVerify : {false, true}) {
            SCOPED_TRACE(std::to_string(verifyWrite) + (noVerify ? " --no-verify" : ""));
            StartRadio(link, options, blank);
            std::vector<std::string> arguments = {"write",      "--device",           link,
                                                  "--settings", m_Dir.SettingsPath(), input};
            if (noVerify) {
                arguments.push_back("--no-verify");
            }
            completed = Run(arguments);
            bool checked = verifyWrite == 1 && !noVerify;
            EXPECT_EQ(completed.exitCode, checked ? kExitWriteFailed : 0) << completed.errors;
            m_Radio.Stop();
        }
    }
}

TEST_F(CliTransferTest, ReadKeepsTheNewestBackupsAndAFailedBackupOnlyWarns) {
    std::string link = m_Dir.PortLink(1);
    RadioMemory memory = PatternMemory(10);
    std::filesystem::path backups = File("state/halvex/backups");
    std::filesystem::create_directories(backups);
    for (int k = 0; k < 50; ++k) {
        std::ofstream(backups / ("radio-2000010" + std::to_string(k / 10) + "-0000" +
                                 std::to_string(k % 10) + ".pgm"))
            << "old";
    }
    StartRadio(link, {}, memory);
    std::string output = File("read.pgm");
    Completed completed =
        Run({"read", "--device", link, "--settings", m_Dir.SettingsPath(), "-o", output});
    ASSERT_EQ(completed.exitCode, 0) << completed.errors;
    std::vector<std::filesystem::path> kept;
    for (const auto& entry : std::filesystem::directory_iterator(backups)) {
        kept.push_back(entry.path());
    }
    ASSERT_EQ(kept.size(), 50u);
    EXPECT_FALSE(std::filesystem::exists(backups / "radio-20000100-00000.pgm"));
    std::sort(kept.begin(), kept.end());
    PgmFile backup;
    std::string error;
    ASSERT_EQ(LoadPgmFile(kept.back().string(), &backup, &error), PgmLoadResult::Loaded) << error;
    EXPECT_TRUE(
        std::equal(backup.image.begin() + 0x0800, backup.image.end(), memory.begin() + 0x0800));
    EXPECT_EQ(ReadBytes(kept.back().string()), ReadBytes(output));
    m_Radio.Stop();

    // A state folder that is a file: the read still succeeds, with a warning.
    std::filesystem::remove_all(File("state"));
    std::ofstream(File("state")) << "not a folder";
    StartRadio(link, {}, memory);
    std::filesystem::remove(output);
    completed = Run({"read", "--device", link, "--settings", m_Dir.SettingsPath(), "-o", output});
    EXPECT_EQ(completed.exitCode, 0) << completed.errors;
    EXPECT_NE(completed.errors.find("warning"), std::string::npos) << completed.errors;
    EXPECT_TRUE(std::filesystem::exists(output));
}

TEST_F(CliTransferTest, BadOutputsAndPortsAreRefusedBeforeAnyByteIsSent) {
    std::string link = m_Dir.PortLink(1);
    StartRadio(link, {}, PatternMemory(11));
    std::string settings = m_Dir.SettingsPath();
    std::string settingsBefore = ReadBytes(settings);
    // A shared sticky folder holding a link that another user owns.
    std::filesystem::path shared = File("shared");
    std::filesystem::create_directory(shared);
    chmod(shared.c_str(), 01777);
    std::string victim = File("victim.pgm");
    std::ofstream(victim) << "victim";
    std::string planted = (shared / "out.pgm").string();
    std::filesystem::create_symlink(victim, planted);
    ASSERT_EQ(lchown(planted.c_str(), 65534, 65534), 0);
    struct Case {
        std::string output;
        std::string says;
    };
    for (const Case& c : std::vector<Case>{{File("missing/out.pgm"), "does not exist"},
                                           {m_Dir.Path(), "folder"},
                                           {settings, "reads"},
                                           {link, "not a regular file"},
                                           {planted, "another user"}}) {
        SCOPED_TRACE(c.output);
        Completed completed =
            Run({"read", "--device", link, "--settings", settings, "-o", c.output});
        EXPECT_EQ(completed.exitCode, kExitFailure) << completed.errors;
        EXPECT_NE(completed.errors.find(c.says), std::string::npos) << completed.errors;
        EXPECT_TRUE(m_Radio.ReceivedBytes().empty());
    }
    EXPECT_EQ(ReadBytes(settings), settingsBefore);
    EXPECT_EQ(ReadBytes(victim), "victim");

    // Files given as the port, directly or through a ports/COMn link.
    std::string plain = File("plain-file");
    std::ofstream(plain) << "";
    // A port number far from any other test's, linked beside halvex-cli itself.
    std::string portLink = kBinDir + "/ports/COM243";
    std::filesystem::remove(portLink);
    std::filesystem::create_symlink(plain, portLink);
    for (const std::vector<std::string>& port :
         {std::vector<std::string>{"--device", plain}, {"--port", "243"}}) {
        SCOPED_TRACE(port[1]);
        std::vector<std::string> arguments = {"read",   port[0], port[1],          "--settings",
                                              settings, "-o",    File("never.pgm")};
        Completed completed = Run(arguments);
        EXPECT_NE(completed.exitCode, 0);
        EXPECT_NE(completed.errors.find("not a serial port"), std::string::npos)
            << completed.errors;
        std::string named = port[0] == "--device" ? plain : portLink;
        EXPECT_NE(completed.errors.find(named), std::string::npos) << completed.errors;
        EXPECT_EQ(ReadBytes(plain), "");
        EXPECT_FALSE(std::filesystem::exists(File("never.pgm")));
    }
    std::filesystem::remove(portLink);
}

// The search may reach a radio on another port than the configured one: a failure there names
// the port that answered, and that port is not kept as the one in use.
TEST_F(CliTransferTest, AFailureAfterThePortSearchNamesThePortThatAnswered) {
    VirtualRadioOptions wrongRadio;
    wrongRadio.faults.identificationLength = 7;
    StartRadio(m_Dir.PortLink(2), wrongRadio, PatternMemory(2));
    m_Dir.AddMissingPort(1);
    m_Dir.ChangeSettings({{"com", 1}, {"searchcom", 1}, {"device", ""}});
    std::string program = File("halvex-cli");
    std::filesystem::copy_file(kBinDir + "/halvex-cli", program);
    std::string read = File("read.pgm");
    Completed completed = Run({"read", "--settings", m_Dir.SettingsPath(), "-o", read}, program);
    EXPECT_EQ(completed.exitCode, kExitWrongRadio);
    EXPECT_NE(completed.errors.find("the radio on COM2 ("), std::string::npos) << completed.errors;
    EXPECT_NE(completed.errors.find("instead of the configured COM1 ("), std::string::npos)
        << completed.errors;
    EXPECT_FALSE(std::filesystem::exists(read));
    EXPECT_EQ(ReadProfileString(m_Dir.SettingsPath(), "setup", "com", "", 16), "1");
}

// Without --port or --device the desktop program's port is used: the device setting, opened
// wherever COMn point and never searched past.
TEST_F(CliTransferTest, TheDeviceSettingIsThePortWhenNoneIsNamed) {
    std::string cable = File("cable");
    RadioMemory memory = PatternMemory(5);
    StartRadio(cable, {}, memory);
    m_Dir.AddMissingPort(1);
    m_Dir.ChangeSettings({{"com", 1}, {"searchcom", 1}, {"device", cable}});
    std::string read = File("read.pgm");
    Completed completed = Run({"read", "--settings", m_Dir.SettingsPath(), "-o", read});
    ASSERT_EQ(completed.exitCode, 0) << completed.errors;
    PgmFile file;
    std::string error;
    ASSERT_EQ(LoadPgmFile(read, &file, &error), PgmLoadResult::Loaded) << error;
    EXPECT_TRUE(std::equal(file.image.begin() + 0x0800, file.image.end(), memory.begin() + 0x0800));
    m_Radio.Stop();

    // Gone: the message names the device, and nothing else was tried.
    std::string gone = File("unplugged");
    m_Dir.ChangeSettings({{"device", gone}});
    std::string second = File("second.pgm");
    completed = Run({"read", "--settings", m_Dir.SettingsPath(), "-o", second});
    EXPECT_EQ(completed.exitCode, kExitNoRadio);
    EXPECT_NE(completed.errors.find(gone), std::string::npos) << completed.errors;
    EXPECT_EQ(completed.errors.find("other port"), std::string::npos) << completed.errors;
    EXPECT_FALSE(std::filesystem::exists(second));
    EXPECT_EQ(ReadProfileString(m_Dir.SettingsPath(), "setup", "com", "", 16), "1");

    // Without a device the configured COMn is used, as the desktop program uses it.
    m_Dir.ChangeSettings({{"device", ""}, {"searchcom", 0}});
    completed = Run({"read", "--settings", m_Dir.SettingsPath(), "-o", second});
    EXPECT_EQ(completed.exitCode, kExitNoRadio);
    EXPECT_NE(completed.errors.find("COM1"), std::string::npos) << completed.errors;
    EXPECT_FALSE(std::filesystem::exists(second));
}

// The trace is the line itself: what it says went out is what the radio received, in order,
// what it says came in holds the radio's blocks, and the run reads as it does untraced.
TEST_F(CliTransferTest, VerboseTracesEveryByteTheRadioReceivedAndChangesNothingElse) {
    std::string link = m_Dir.PortLink(1);
    RadioMemory memory = PatternMemory(5);
    StartRadio(link, {}, memory);
    Completed untraced = Run(
        {"read", "--device", link, "--settings", m_Dir.SettingsPath(), "-o", File("untraced.pgm")});
    ASSERT_EQ(untraced.exitCode, 0) << untraced.errors;
    EXPECT_TRUE(untraced.errors.empty()) << untraced.errors;
    struct Case {
        std::vector<std::string> arguments;
        long exchanges;  // a verified write reads back: two opens, two closes
    };
    const Case cases[] = {
        {{"read", "--verbose", "--device=" + link, "-o" + File("traced.pgm")}, 1},
        {{"write", "--verbose", "--verify", "--device", link, File("traced.pgm")}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--settings", m_Dir.SettingsPath()});
        const size_t receivedBefore = m_Radio.ReceivedBytes().size();
        Completed completed = Run(arguments);
        ASSERT_EQ(completed.exitCode, 0) << completed.errors;
        const std::optional<halvex::test::FrameTrace> trace =
            halvex::test::ParseFrameTrace(completed.errors);
        ASSERT_TRUE(trace) << completed.errors;
        EXPECT_TRUE(std::is_sorted(trace->times.begin(), trace->times.end()));
        const std::vector<uint8_t> received = m_Radio.ReceivedBytes();
        EXPECT_EQ(trace->sent,
                  std::vector<uint8_t>(received.begin() + static_cast<ptrdiff_t>(receivedBefore),
                                       received.end()));
        const auto block = memory.begin() + 0x0900;
        EXPECT_NE(std::search(trace->answers.begin(), trace->answers.end(), block,
                              block + clone_frames::kBlockSize),
                  trace->answers.end());
        EXPECT_EQ(trace->opened, std::vector<std::string>(c.exchanges, link));
        EXPECT_EQ(trace->closes, c.exchanges);
        if (c.exchanges == 1) {
            EXPECT_EQ(ReadBytes(File("traced.pgm")), ReadBytes(File("untraced.pgm")));
        }
    }
}

}  // namespace
