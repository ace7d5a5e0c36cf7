// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli station as a user runs it: refused lines send nothing to any radio, --auto
// waits for each written radio to go before it takes the next, and a run that ends by itself
// before its radios says why and fails.
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "codeplug/pgm_file.h"
#include "codeplug/radio_image.h"
#include "link/serial_port.h"
#include "platform/csv_text.h"
#include "sim/virtual_radio.h"
#include "support/cli_run_fixture.h"
#include "support/frame_trace.h"
#include "support/virtual_radio_fixture.h"

namespace {

namespace fs = std::filesystem;

class CliStationTest : public CliRunFixture {
protected:
    void SetUp() override {
        halvex::test::WriteLinkSettings(m_Settings, {{"readtime", 2000}, {"writetime", 2000}});
        ASSERT_EQ(Run({"new", "--settings", m_Settings, "-o", File("A.pgm")}).exitCode, 0);
        m_Folder.Write("short.pgm", ReadBytes(File("A.pgm")).substr(0, 100));
        m_Folder.Write("channels.csv", "Location,Name,Frequency\n1,BASE,146.520000\n");
        fs::create_symlink(m_Cable, File("same-cable"));
    }

    bool StartRadio(VirtualRadioOptions options) {
        std::string error;
        m_Radio.SetMemory(halvex::test::PatternMemory(3));
        bool started = m_Radio.Start(m_Cable, options, &error);
        EXPECT_TRUE(started) << error;
        return started;
    }

    // halvex-cli with arguments, its input at its end from the start, its output in
    // stdout.txt and stderr.txt.
    pid_t SpawnWithoutInput(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), HALVEX_CLI_PATH);
        halvex::test::ProgramStreams streams;
        streams.stdinPath = "/dev/null";
        streams.stdoutPath = File("stdout.txt");
        streams.stderrPath = File("stderr.txt");
        return halvex::test::SpawnProgram(arguments, streams);
    }

    std::string m_Settings = File("setting.ini");
    std::string m_Cable = File("cable");
    VirtualRadio m_Radio;
};

TEST_F(CliStationTest, BadInputIsRefusedBeforeAnyRadioHearsAByte) {
    ASSERT_TRUE(StartRadio({}));
    // Another program holding a second radio's cable.
    VirtualRadio held;
    std::string error;
    ASSERT_TRUE(held.Start(File("held"), {}, &error)) << error;
    CSerialPort holder;
    ASSERT_TRUE(holder.OpenDevice(File("held"), 9600, &error)) << error;

    auto line = [this](std::vector<std::string> middle) {
        std::vector<std::string> arguments = {"station", "--settings", m_Settings, "--log",
                                              File("log.csv")};
        arguments.insert(arguments.end(), middle.begin(), middle.end());
        return arguments;
    };
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string says;
    };
    const Case cases[] = {
        {line({File("missing.pgm"), "--device", m_Cable}), 1, "missing.pgm"},
        {line({File("short.pgm"), "--device", m_Cable}), 1, "nothing was sent to any radio"},
        {line({File("A.pgm")}), 1, "--device PATH... is missing"},
        {line({File("A.pgm"), "--device", m_Cable, "--device", File("nothing")}), 2,
         "nothing was sent to any radio"},
        {line({File("A.pgm"), "--device", m_Cable, "--device", File("same-cable")}), 1,
         "named twice"},
        {line({File("A.pgm"), "--device", m_Cable, "--device", File("held")}), 2, "in use"},
        {line({File("A.pgm"), "--device", m_Cable, "--count", "0"}), 1, "--count"},
        {line({File("A.pgm"), "--device", m_Cable, "--ptt-id-code-from", "12a"}), 1,
         "--ptt-id-code-from: a PTT ID code to count from is 1 to 6 decimal digits"},
        {line({File("A.pgm"), "--device", m_Cable, "--check-only", "--no-verify"}), 1,
         "give only one of --no-verify and --check-only"},
        {{"station", File("A.pgm"), "--device", m_Cable, "--settings", m_Settings, "--log",
          File("channels.csv")},
         1,
         "does not end in a radio's line (line 2); name another log"},
        {{"verify", File("short.pgm"), "--device", m_Cable, "--settings", m_Settings},
         1,
         "nothing was sent to any radio"},
        {{"verify", File("A.pgm"), "--settings", m_Settings}, 1, "--device PATH is missing"},
        {{"station", File("A.pgm"), "--device", m_Cable, "--settings", m_Settings, "--log",
          File("A.pgm")},
         1,
         "which this command reads"},
    };
    const std::map<std::string, std::string> before = Snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        RunResult result = Run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        EXPECT_EQ(Snapshot(), before) << "a refused line created or changed a file";
    }
    EXPECT_TRUE(m_Radio.ReceivedBytes().empty());
    EXPECT_TRUE(held.ReceivedBytes().empty());
}

TEST_F(CliStationTest, AutoTakesTheNextRadioOnlyOnceTheWrittenOneIsGone) {
    VirtualRadioOptions options;
    options.radios = 2;
    // Longer than a probe cycle, so the station sees the gap between the radios.
    options.swapAfterMs = 6000;
    ASSERT_TRUE(StartRadio(options));
    const std::string original = ReadBytes(File("A.pgm"));
    RunResult result;
    std::thread station([&] {
        result = Run({"station", File("A.pgm"), "--device", m_Cable, "--count", "2", "--auto",
                      "--settings", m_Settings, "--log", File("log.csv")});
    });
    // The file changing on disk during the run changes nothing that is written.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (ReadBytes(File("log.csv")).empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    m_Folder.Write("A.pgm", std::string(original.size(), '\0'));
    station.join();

    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::vector<CsvRecord> lines;
    std::string error;
    ASSERT_TRUE(ParseCsvText(ReadBytes(File("log.csv")), &lines, &error)) << error;
    // The header, then the two radios.
    ASSERT_EQ(lines.size(), 3u);
    for (size_t k = 1; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k].fields[4], "ok");
    }
    EXPECT_NE(result.out.find("waiting for the radio to be unplugged"), std::string::npos);
    EXPECT_NE(result.out.find("2 radios: 2 ok"), std::string::npos) << result.out;
    // Had the first radio been taken again, the second would still hold its own memory.
    const uint8_t* image = reinterpret_cast<const uint8_t*>(original.data()) + kPgmHeaderSize;
    for (int radio = 1; radio <= 2; ++radio) {
        RadioMemory memory = m_Radio.MemoryOf(radio);
        EXPECT_TRUE(halvex::test::SameRange(memory.data(), image, kCloneBegin, kImageSize))
            << "radio " << radio;
    }
}

// Ctrl-C once: every cable finishes the radio it is writing; twice: each abandons it, and the
// log says how far it got. Either way the run ends as cancelled.
TEST_F(CliStationTest, CtrlCAtLineSpeedFinishesTheRadiosBeingWrittenAndASecondOneAbandons) {
    struct Case {
        int interrupts;
        std::string result;
    };
    VirtualRadioOptions paced;
    paced.pace9600 = true;
    ASSERT_TRUE(StartRadio(paced));
    for (const Case& c : {Case{1, ",ok,"}, Case{2, ",cancelled,part of the file written"}}) {
        SCOPED_TRACE(c.result);
        fs::remove(File("log.csv"));
        size_t heard = m_Radio.ReceivedBytes().size();
        pid_t child = SpawnWithoutInput({"station", File("A.pgm"), "--device", m_Cable, "--auto",
                                         "--settings", m_Settings, "--log", File("log.csv")});
        ASSERT_GT(child, 0);
        // Well into the blocks of a paced write.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (m_Radio.ReceivedBytes().size() < heard + 2000 &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        for (int k = 0; k < c.interrupts; ++k) {
            kill(child, SIGINT);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 130);
        std::string log = ReadBytes(File("log.csv"));
        // The header and the one radio.
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
        EXPECT_NE(log.find(c.result), std::string::npos) << log;
    }
}

// A run that cannot go on by itself: no terminal to confirm radios, or the only cable pulled
// out. Either way it says why, fails, and writes no radio and no log line.
TEST_F(CliStationTest, ARunEndedByItsInputOrItsCableSaysWhyAndFails) {
    struct Case {
        const char* name;
        std::vector<std::string> options;
        bool pullCable;
        int exitCode;
        std::string says;
    };
    const Case cases[] = {
        {"the input ended",
         {},
         false,
         1,
         "the input ended, so no more radios could be confirmed; --auto finds each radio"},
        {"the cable pulled out", {"--auto"}, true, 2, "cable 1 is gone"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualRadioOptions silent;
        silent.faults.silent = true;
        ASSERT_TRUE(StartRadio(silent));
        fs::remove(File("log.csv"));
        std::vector<std::string> arguments = {"station", File("A.pgm"),  "--device",
                                              m_Cable,   "--settings",   m_Settings,
                                              "--log",   File("log.csv")};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        pid_t child = SpawnWithoutInput(arguments);
        ASSERT_GT(child, 0);
        if (c.pullCable) {
            auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (m_Radio.ReceivedBytes().empty() && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            // Closing the radio's end of the pseudo-terminal is what pulling an adapter does.
            m_Radio.Stop();
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.exitCode);
        std::string said = ReadBytes(File("stdout.txt")) + ReadBytes(File("stderr.txt"));
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        EXPECT_EQ(ReadBytes(File("log.csv")), "");
        EXPECT_TRUE(halvex::test::SameRange(m_Radio.Memory().data(),
                                            halvex::test::PatternMemory(3).data(), 0, kImageSize));
        m_Radio.Stop();
    }
}

// Three runs, the middle one killed while it checks a radio it wrote completely: the third
// says which cable's radio had no line and logs it unchecked, and the log reads as one table
// with one header, numbered on from run to run.
TEST_F(CliStationTest, ThreeRunsWithOneKilledInTheMiddleLeaveOneTable) {
    // The first block of the killed run's read-back is held back 4 s, well within readtime.
    halvex::test::WriteLinkSettings(m_Settings, {{"readtime", 8000}, {"writetime", 2000}});
    const std::vector<std::string> run = {
        "station", File("A.pgm"), "--device", m_Cable, "--auto",       "--count",
        "1",       "--settings",  m_Settings, "--log", File("log.csv")};
    auto withCode = run;
    withCode.insert(withCode.end(), {"--ptt-id-code-from", "0101"});
    ASSERT_TRUE(StartRadio({}));
    RunResult first = Run(withCode);
    EXPECT_EQ(first.exitCode, 0) << first.err;
    m_Radio.Stop();

    VirtualRadioOptions slowCheck;
    slowCheck.faults.lateAnswerBlock = static_cast<int>(kCloneBegin);
    slowCheck.faults.lateAnswerTimes = 1;
    slowCheck.faults.lateAnswerMs = 4000;
    ASSERT_TRUE(StartRadio(slowCheck));
    pid_t killed = SpawnWithoutInput(run);
    ASSERT_GT(killed, 0);
    const std::string marker = File(".log.csv.unlogged");
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(marker) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(killed, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(killed, &status, 0), killed);
    ASSERT_TRUE(fs::exists(marker)) << "the write never ended";
    EXPECT_TRUE(m_Radio.WasWritten(1));
    m_Radio.Stop();

    ASSERT_TRUE(StartRadio({}));
    RunResult third = Run(run);
    EXPECT_EQ(third.exitCode, 0) << third.err;
    EXPECT_NE(third.err.find("the last radio on " + m_Cable + " (radio 2, written "),
              std::string::npos)
        << third.err;
    EXPECT_NE(third.err.find("had no line in the log"), std::string::npos) << third.err;
    EXPECT_FALSE(fs::exists(marker));

    std::vector<CsvRecord> lines;
    std::string error;
    ASSERT_TRUE(ParseCsvText(ReadBytes(File("log.csv")), &lines, &error)) << error;
    ASSERT_EQ(lines.size(), 4u) << ReadBytes(File("log.csv"));
    EXPECT_EQ(lines[0].fields[0], "time");
    const char* results[] = {"ok", "unchecked", "ok"};
    for (size_t k = 1; k < lines.size(); ++k) {
        SCOPED_TRACE(k);
        ASSERT_EQ(lines[k].fields.size(), lines[0].fields.size());
        EXPECT_EQ(lines[k].fields[2], std::to_string(k));
        EXPECT_EQ(lines[k].fields[4], results[k - 1]);
        EXPECT_EQ(lines[k].fields[9], File("A.pgm"));
    }
    EXPECT_EQ(lines[1].fields[11], "0101");
    EXPECT_NE(lines[1].fields[10], lines[3].fields[10]) << "another code, another image";
    EXPECT_NE(lines[2].fields[8], lines[3].fields[8]) << "each run has its own id";
}

// verify reads the one radio and writes nothing, whatever it finds; its exit says what.
TEST_F(CliStationTest, VerifyWritesNothingAndExitsByWhatItFound) {
    ASSERT_TRUE(StartRadio({}));
    ASSERT_EQ(Run({"write", File("A.pgm"), "--device", m_Cable, "--settings", m_Settings}).exitCode,
              0);
    const RadioMemory written = m_Radio.Memory();
    RadioImage changed;
    changed.bytes = written;
    changed.SetPttIdCode({0, 9, 0, 9, 0xFF, 0xFF});
    struct Case {
        const char* name;
        RadioMemory memory;
        bool silent;
        int exitCode;
        std::string says;
    };
    const Case cases[] = {
        {"the radio as written", written, false, 0, "same: the radio holds"},
        {"its code changed", changed.bytes, false, 6,
         " -> 0909\n1 place differs between the file and the radio"},
        {"no radio", written, true, 2, "no radio answered on " + m_Cable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Radio.Stop();
        VirtualRadioOptions options;
        options.faults.silent = c.silent;
        ASSERT_TRUE(StartRadio(options));
        m_Radio.SetMemory(c.memory);
        RunResult result =
            Run({"verify", File("A.pgm"), "--device", m_Cable, "--settings", m_Settings});
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_NE((result.out + result.err).find(c.says), std::string::npos)
            << result.out << result.err;
        EXPECT_FALSE(m_Radio.WasWritten(1));
        EXPECT_EQ(m_Radio.Memory(), c.memory);
    }
}

// Two cables traced at once: each line names its cable, and each cable's trace is what its
// own radio heard, from that cable's open on.
TEST_F(CliStationTest, VerboseTracesEachCableUnderItsOwnName) {
    ASSERT_TRUE(StartRadio({}));
    VirtualRadio second;
    const std::string secondCable = File("second cable");
    std::string error;
    second.SetMemory(halvex::test::PatternMemory(3));
    ASSERT_TRUE(second.Start(secondCable, {}, &error)) << error;
    RunResult result =
        Run({"station", File("A.pgm"), "--device", m_Cable, "--device", secondCable, "--count", "2",
             "--auto", "--no-verify", "--verbose", "--settings", m_Settings});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    const std::map<std::string, const VirtualRadio*> radios = {{m_Cable, &m_Radio},
                                                               {secondCable, &second}};
    std::vector<std::string> prefixes;
    for (const auto& [cable, radio] : radios) {
        prefixes.push_back(cable + ": ");
    }
    // The program's own notes (the test's settings have no band line) are no trace.
    std::string traced;
    std::istringstream lines(result.err);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("halvex-cli: ")) {
            traced += line + '\n';
        }
    }
    const auto traces = halvex::test::ParseFrameTraces(traced, prefixes);
    ASSERT_TRUE(traces) << result.err;
    for (const auto& [cable, radio] : radios) {
        SCOPED_TRACE(cable);
        ASSERT_EQ(traces->count(cable + ": "), 1u);
        const halvex::test::FrameTrace& trace = traces->at(cable + ": ");
        std::optional<std::vector<uint8_t>> heard =
            halvex::test::ReceivedBeforeMarker(*radio, cable);
        ASSERT_TRUE(heard);
        EXPECT_EQ(trace.sent, *heard);
        EXPECT_FALSE(trace.answers.empty());
        EXPECT_EQ(trace.opened, std::vector<std::string>{cable});
        EXPECT_TRUE(radio->WasWritten(1));
    }
    second.Stop();
}

}  // namespace
