// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual radio through its pseudo-terminal, as the program sees it: plain POSIX
// reads and writes on the linked port name.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "codeplug/pgm_file.h"
#include "sim/demo_memory.h"
#include "sim/memory_file.h"
#include "sim/virtual_radio.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kWakeUp = {0x46, 0x56, 0x4F, 0x47, 0x52, 0x41, 0x4D};

Bytes ReadRequest(int address) {
    return {0x52, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address), 0x10};
}

Bytes DataFrame(int address, uint8_t count, uint8_t first) {
    Bytes frame = {0x57, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address), count};
    for (int k = 0; k < 16; ++k) {
        frame.push_back(static_cast<uint8_t>(first + k));
    }
    return frame;
}

Bytes Payload(const Bytes& frame) {
    return Bytes(frame.begin() + 4, frame.end());
}

Bytes Block(const RadioMemory& memory, int address) {
    return Bytes(memory.begin() + address, memory.begin() + address + 16);
}

// The program's end of the line, opened the way a serial port is.
class Port {
public:
    explicit Port(const std::string& path) {
        m_Descriptor = open(path.c_str(), O_RDWR | O_NOCTTY);
        termios settings{};
        if (m_Descriptor >= 0 && tcgetattr(m_Descriptor, &settings) == 0) {
            cfmakeraw(&settings);
            tcsetattr(m_Descriptor, TCSANOW, &settings);
        }
    }
    ~Port() {
        if (m_Descriptor >= 0) {
            close(m_Descriptor);
        }
    }
    bool IsOpen() const { return m_Descriptor >= 0; }

    void Send(const Bytes& bytes) {
        ASSERT_EQ(write(m_Descriptor, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }

    // Up to count bytes, waiting at most timeout for each gap.
    // The first byte may come late on a loaded machine; an answer's bytes leave together, so
    // a short quiet after them ends it.
    Bytes Receive(size_t count, int timeoutMilliseconds = 2000) {
        constexpr int kQuietAfterAnswerMs = 100;
        Bytes received;
        while (received.size() < count) {
            pollfd watched = {m_Descriptor, POLLIN, 0};
            int waitMs = received.empty() ? timeoutMilliseconds
                                          : std::min(timeoutMilliseconds, kQuietAfterAnswerMs);
            if (poll(&watched, 1, waitMs) <= 0) {
                break;
            }
            uint8_t buffer[64];
            ssize_t n =
                read(m_Descriptor, buffer, std::min(sizeof buffer, count - received.size()));
            if (n <= 0) {
                break;
            }
            received.insert(received.end(), buffer, buffer + n);
        }
        return received;
    }

    Bytes Exchange(const Bytes& request, size_t count, int timeoutMilliseconds = 2000) {
        Send(request);
        return Receive(count, timeoutMilliseconds);
    }

private:
    int m_Descriptor = -1;
};

class VirtualRadioTest : public ::testing::Test {
protected:
    void SetUp() override { m_Link = m_Folder.File("ports/COM7"); }
    void TearDown() override { m_Radio.Stop(); }

    void Start(const VirtualRadioOptions& options = {}) {
        m_Radio.SetMemory(DemoMemory());
        std::string error;
        ASSERT_TRUE(m_Radio.Start(m_Link, options, &error)) << error;
    }

    // Wake-up, identification and its acknowledgement, as every exchange begins.
    void EnterProgramming(Port* port) {
        ASSERT_EQ(port->Exchange(kWakeUp, 1), Bytes{0x06});
        ASSERT_EQ(port->Exchange({0x02}, 8).size(), 8u);
        ASSERT_EQ(port->Exchange({0x06}, 1), Bytes{0x06});
    }

    // A whole write as the program makes one, of a single block: the radio counts as written.
    void WriteOneBlock(Port* port) {
        EnterProgramming(port);
        EXPECT_EQ(port->Exchange(kWrittenBlock, 1), Bytes{0x06});
        EXPECT_EQ(port->Exchange({0x62}, 1), Bytes{0x06});
    }

    const Bytes kWrittenBlock = DataFrame(0x0900, 0x10, 0x01);
    halvex::test::TempFolder m_Folder;
    std::string m_Link;
    VirtualRadio m_Radio;
};

TEST_F(VirtualRadioTest, CloneDialogueReadsAndWritesMemory) {
    int saved = 0;
    RadioMemory savedMemory{};
    VirtualRadioOptions options;
    options.onWriteCompleted = [&](const RadioMemory& memory) {
        ++saved;
        savedMemory = memory;
    };
    Start(options);
    Port port(m_Link);
    ASSERT_TRUE(port.IsOpen());

    // Nothing but the wake-up is answered outside programming mode, and a broken
    // wake-up does not hide the good one after it.
    EXPECT_TRUE(port.Exchange(ReadRequest(0x0800), 20, 100).empty());
    Bytes noisy = {0x46, 0x56, 0x4F, 0x00};
    noisy.insert(noisy.end(), kWakeUp.begin(), kWakeUp.end());
    EXPECT_EQ(port.Exchange(noisy, 2), Bytes{0x06});
    EXPECT_EQ(port.Exchange({0x02}, 9).size(), 8u);
    EXPECT_EQ(port.Exchange({0x06}, 2), Bytes{0x06});

    Bytes answer = port.Exchange(ReadRequest(0x0D40), 20);
    Bytes expected = {0x57, 0x0D, 0x40, 0x10, 'H', 'R', 'Q', '8', '7', '0'};
    ASSERT_EQ(answer.size(), 20u);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), answer.begin()));
    EXPECT_EQ(Bytes(answer.begin() + 4, answer.end()), Block(DemoMemory(), 0x0D40));

    EXPECT_EQ(port.Exchange(DataFrame(0x1FF0, 0x10, 0xA0), 1), Bytes{0x06});
    answer = port.Exchange(ReadRequest(0x1FF0), 20);
    EXPECT_EQ(answer, DataFrame(0x1FF0, 0x10, 0xA0));
    EXPECT_EQ(saved, 0);

    EXPECT_EQ(port.Exchange({0x62}, 2), Bytes{0x06});
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(Block(savedMemory, 0x1FF0), Block(m_Radio.Memory(), 0x1FF0));
    // The end byte left programming mode.
    EXPECT_TRUE(port.Exchange(ReadRequest(0x0800), 20, 100).empty());

    Bytes sent = m_Radio.ReceivedBytes();
    Bytes tail = {0x62, 0x52, 0x08, 0x00, 0x10};
    ASSERT_GE(sent.size(), tail.size());
    EXPECT_EQ(Bytes(sent.end() - tail.size(), sent.end()), tail);
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 4), ReadRequest(0x0800));
}

TEST_F(VirtualRadioTest, ReopenedPortKeepsWorking) {
    Start();
    {
        Port port(m_Link);
        EXPECT_EQ(port.Exchange(kWakeUp, 1), Bytes{0x06});
    }
    Port port(m_Link);
    EXPECT_EQ(port.Exchange(kWakeUp, 1), Bytes{0x06});
}

TEST_F(VirtualRadioTest, IdentificationHasTheConfiguredLength) {
    for (int length : {0, 7, 8, 9}) {
        SCOPED_TRACE(length);
        VirtualRadioOptions options;
        options.faults.identificationLength = length;
        Start(options);
        Port port(m_Link);
        ASSERT_EQ(port.Exchange(kWakeUp, 1), Bytes{0x06});
        EXPECT_EQ(port.Exchange({0x02}, 16).size(), static_cast<size_t>(length));
        m_Radio.Stop();
    }
}

TEST_F(VirtualRadioTest, EchoCableSendsEveryByteBackBeforeTheAnswer) {
    VirtualRadioOptions options;
    options.echo = true;
    Start(options);
    Port port(m_Link);
    Bytes expected = kWakeUp;
    expected.push_back(0x06);
    EXPECT_EQ(port.Exchange(kWakeUp, 9), expected);

    // A silent radio behind an echoing cable still echoes.
    m_Radio.Stop();
    options.faults.silent = true;
    Start(options);
    Port silent(m_Link);
    EXPECT_EQ(silent.Exchange(kWakeUp, 9), kWakeUp);
}

TEST_F(VirtualRadioTest, PacedLineTakesTheTimeOfNineThousandSixHundredBaud) {
    VirtualRadioOptions options;
    options.pace9600 = true;
    Start(options);
    Port port(m_Link);
    EnterProgramming(&port);
    auto start = std::chrono::steady_clock::now();
    Bytes answer = port.Exchange(ReadRequest(0x0800), 20);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(answer.size(), 20u);
    // 4 request bytes and 20 answer bytes of 1.04 ms each.
    EXPECT_GE(elapsed, std::chrono::milliseconds(24));
}

TEST_F(VirtualRadioTest, InjectedFaultsWearOffAfterTheirCount) {
    VirtualRadioOptions options;
    options.faults.ignoreWakeUps = 2;
    options.faults.wrongAddressBlock = 0x0810;
    options.faults.wrongAddressTimes = 1;
    options.faults.shortAnswerBlock = 0x0820;
    options.faults.shortAnswerTimes = 2;
    options.faults.noAckBlock = 0x0830;
    options.faults.noAckTimes = 1;
    Start(options);
    Port port(m_Link);
    RadioMemory demo = DemoMemory();

    EXPECT_TRUE(port.Exchange(kWakeUp, 1, 100).empty());
    EXPECT_TRUE(port.Exchange(kWakeUp, 1, 100).empty());
    EnterProgramming(&port);

    Bytes answer = port.Exchange(ReadRequest(0x0810), 20);
    ASSERT_EQ(answer.size(), 20u);
    EXPECT_NE(Bytes(answer.begin() + 1, answer.begin() + 3), (Bytes{0x08, 0x10}));
    EXPECT_EQ(port.Exchange(ReadRequest(0x0810), 20)[2], 0x10);

    for (int time = 0; time < 2; ++time) {
        EXPECT_LT(port.Exchange(ReadRequest(0x0820), 20, 100).size(), 20u);
    }
    EXPECT_EQ(port.Exchange(ReadRequest(0x0820), 20).size(), 20u);

    Bytes frame = DataFrame(0x0830, 0x10, 0x30);
    EXPECT_TRUE(port.Exchange(frame, 1, 100).empty());
    EXPECT_EQ(Block(m_Radio.Memory(), 0x0830), Block(demo, 0x0830));
    EXPECT_EQ(port.Exchange(frame, 1), Bytes{0x06});
    EXPECT_EQ(Block(m_Radio.Memory(), 0x0830), Payload(frame));
}

TEST_F(VirtualRadioTest, SilentRadioAnswersNothing) {
    VirtualRadioOptions options;
    options.faults.silent = true;
    Start(options);
    Port port(m_Link);
    EXPECT_TRUE(port.Exchange(kWakeUp, 1, 100).empty());
    EXPECT_TRUE(port.Exchange({0x02}, 8, 100).empty());
}

TEST_F(VirtualRadioTest, TestModeFramesReachTheWholeMemory) {
    Start();
    Port port(m_Link);
    EnterProgramming(&port);

    // Item 3 of bank 0x0FE0 and item 20 (index 4 of bank 0x0FF0).
    Bytes adjust = {0x67, 0x0F, 0xE0, 0x10, 0x2A, 0x03, 0x00};
    adjust.resize(20, 0xFF);
    EXPECT_EQ(port.Exchange(adjust, 1), Bytes{0x06});
    adjust = {0x67, 0x0F, 0xF0, 0x10, 0x55, 0x04, 0x01};
    adjust.resize(20, 0xFF);
    EXPECT_EQ(port.Exchange(adjust, 1), Bytes{0x06});
    RadioMemory memory = m_Radio.Memory();
    EXPECT_EQ(memory[0x0FE3], 0x2A);
    EXPECT_EQ(memory[0x0FF4], 0x55);
    EXPECT_EQ(Block(memory, 0x0FC0), Block(DemoMemory(), 0x0FC0));

    // Write-all frames carry 0x08 as their count and reach below 0x0800.
    EXPECT_EQ(port.Exchange(DataFrame(0x0000, 0x08, 0x11), 1), Bytes{0x06});
    EXPECT_EQ(Block(m_Radio.Memory(), 0x0000), Payload(DataFrame(0x0000, 0x08, 0x11)));
    // A read-all block is followed by the program's acknowledgement.
    EXPECT_EQ(port.Exchange(ReadRequest(0x0000), 20).size(), 20u);
    EXPECT_EQ(port.Exchange({0x06}, 2), Bytes{0x06});
    // A frame with an unknown count is dropped whole.
    EXPECT_TRUE(port.Exchange(DataFrame(0x0800, 0x04, 0x00), 1, 100).empty());
    EXPECT_EQ(Block(m_Radio.Memory(), 0x0800), Block(DemoMemory(), 0x0800));
}

TEST_F(VirtualRadioTest, LinkIsReplacedAndRemoved) {
    ASSERT_EQ(mkdir(m_Folder.File("ports").c_str(), 0755), 0);
    ASSERT_EQ(symlink("/dev/pts/does-not-exist", m_Link.c_str()), 0);
    Start();
    char target[256] = {};
    ASSERT_GT(readlink(m_Link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), m_Radio.SlavePath());
    m_Radio.Stop();
    struct stat status {};
    EXPECT_NE(lstat(m_Link.c_str(), &status), 0);

    std::ofstream(m_Link) << "not a link";
    std::string error;
    EXPECT_FALSE(m_Radio.Start(m_Link, {}, &error));
    EXPECT_NE(error.find(m_Link), std::string::npos);
}

// radio-sim with arguments, its stdout and stderr in the file output.
pid_t SpawnSimulator(std::vector<std::string> arguments, const std::string& output) {
    arguments.insert(arguments.begin(), std::string(HALVEX_BIN_DIR) + "/radio-sim");
    halvex::test::ProgramStreams streams;
    streams.stdoutPath = output;
    streams.stderrPath = output;
    return halvex::test::SpawnProgram(arguments, streams);
}

// What radio-sim printed once it holds needle, or all it printed by the deadline.
std::string WaitForOutput(const std::string& output, const std::string& needle) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string text = halvex::test::ReadBytes(output);
    while (text.find(needle) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        poll(nullptr, 0, 20);
        text = halvex::test::ReadBytes(output);
    }
    return text;
}

// The exit status of child once signal ended it, or -1 when it did not exit.
int StopSimulator(pid_t child, int signal = SIGTERM) {
    int status = 0;
    if (signal != 0) {
        kill(child, signal);
    }
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct SimProcess {
    pid_t pid = -1;
    std::string firstOutput;
};

// radio-sim on link, and the first line it prints (or its last words).
SimProcess StartSimulator(const std::string& link, const std::string& output) {
    SimProcess process;
    process.pid = SpawnSimulator({"--link", link}, output);
    process.firstOutput = WaitForOutput(output, "\n");
    return process;
}

std::string LinkTarget(const std::string& link) {
    char target[256] = {};
    return readlink(link.c_str(), target, sizeof target - 1) > 0 ? std::string(target) : "";
}

TEST_F(VirtualRadioTest, SecondSimulatorOnALiveLinkIsRefusedAndAStaleOneReplaced) {
    SimProcess first = StartSimulator(m_Link, m_Folder.File("first.txt"));
    ASSERT_GT(first.pid, 0);
    ASSERT_NE(first.firstOutput.find(m_Link), std::string::npos) << first.firstOutput;
    std::string served = LinkTarget(m_Link);

    SimProcess second = StartSimulator(m_Link, m_Folder.File("second.txt"));
    int status = 0;
    ASSERT_EQ(waitpid(second.pid, &status, 0), second.pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    EXPECT_NE(second.firstOutput.find("another running virtual radio"), std::string::npos)
        << second.firstOutput;
    EXPECT_EQ(LinkTarget(m_Link), served);
    {
        Port port(m_Link);
        EnterProgramming(&port);
    }

    // Killed outright, the first leaves its link behind; the next one takes the name over.
    ASSERT_EQ(kill(first.pid, SIGKILL), 0);
    ASSERT_EQ(waitpid(first.pid, &status, 0), first.pid);
    EXPECT_EQ(LinkTarget(m_Link), served);
    SimProcess third = StartSimulator(m_Link, m_Folder.File("third.txt"));
    ASSERT_GT(third.pid, 0);
    EXPECT_NE(third.firstOutput.find(m_Link), std::string::npos) << third.firstOutput;
    EXPECT_NE(LinkTarget(m_Link), "");
    {
        Port port(m_Link);
        EnterProgramming(&port);
    }
    kill(third.pid, SIGTERM);
    waitpid(third.pid, &status, 0);

    // In one process too: a second radio on the same name is refused until the first stops.
    Start();
    VirtualRadio other;
    std::string error;
    EXPECT_FALSE(other.Start(m_Link, {}, &error));
    EXPECT_NE(error.find(m_Link), std::string::npos) << error;
    EXPECT_EQ(LinkTarget(m_Link), m_Radio.SlavePath());
    m_Radio.Stop();
    EXPECT_TRUE(other.Start(m_Link, {}, &error)) << error;
    other.Stop();
}

TEST_F(VirtualRadioTest, DemoMemoryLooksLikeAProgrammedRadio) {
    RadioMemory demo = DemoMemory();
    EXPECT_EQ(Bytes(demo.begin() + 0x0F00, demo.begin() + 0x0F04), (Bytes{0x60, 0x13, 0x40, 0x17}));
    EXPECT_EQ(std::string(demo.begin() + 0x0D40, demo.begin() + 0x0D46), "HRQ870");
    // Channel 1 at 146.52000 MHz, and channels after the demo ones empty.
    EXPECT_EQ(Bytes(demo.begin() + 0x1010, demo.begin() + 0x1014), (Bytes{0x00, 0x20, 0x65, 0x14}));
    EXPECT_EQ(demo[0x1000 + 16 * 7 + 3], 0xFF);
    EXPECT_EQ(demo[0x0D08], 1);
}

TEST_F(VirtualRadioTest, MemoryFilesRoundTripInTheirOwnForm) {
    RadioMemory memory = DemoMemory();
    memory[0x0123] = 0x5A;
    for (const char* name : {"/memory.pgm", "/memory.bin"}) {
        SCOPED_TRACE(name);
        std::string path = m_Folder.Path() + name;
        std::string error;
        ASSERT_TRUE(SaveMemoryFile(path, NewMemoryFile(path, memory), &error)) << error;
        MemoryFile loaded;
        ASSERT_TRUE(LoadMemoryFile(path, &loaded, &error)) << error;
        EXPECT_EQ(loaded.memory, memory);
        struct stat status {};
        ASSERT_EQ(stat(path.c_str(), &status), 0);
        EXPECT_EQ(static_cast<size_t>(status.st_size), loaded.raw ? kImageSize : kPgmFileSize);
        EXPECT_EQ(loaded.raw, std::string(name) == "/memory.bin");
    }
    std::string foreign = m_Folder.File("foreign.pgm");
    std::ofstream(foreign) << std::string(kPgmFileSize, 'x');
    MemoryFile loaded;
    std::string error;
    EXPECT_FALSE(LoadMemoryFile(foreign, &loaded, &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(VirtualRadioTest, ProgramSavesWrittenMemoryAndRemovesItsLinkOnTerminate) {
    std::string memoryPath = m_Folder.File("radio.pgm");
    pid_t child =
        SpawnSimulator({"--link", m_Link, "--memory", memoryPath}, m_Folder.File("radio-sim.txt"));
    ASSERT_GT(child, 0);
    EXPECT_NE(WaitForOutput(m_Folder.File("radio-sim.txt"), "\n").find(m_Link), std::string::npos);
    {
        Port port(m_Link);
        WriteOneBlock(&port);
    }
    EXPECT_EQ(StopSimulator(child), 0);

    struct stat linkStatus {};
    EXPECT_NE(lstat(m_Link.c_str(), &linkStatus), 0);
    MemoryFile saved;
    std::string error;
    ASSERT_TRUE(LoadMemoryFile(memoryPath, &saved, &error)) << error;
    EXPECT_FALSE(saved.raw);
    EXPECT_EQ(Block(saved.memory, 0x0900), Payload(kWrittenBlock));
    EXPECT_EQ(Block(saved.memory, 0x0D40), Block(DemoMemory(), 0x0D40));
}

TEST_F(VirtualRadioTest, NumbersAreDecimalAndBoundedOrAUsageError) {
    const std::string output = m_Folder.File("radio-sim.txt");
    struct Case {
        std::vector<std::string> arguments;
        std::string names;
    };
    const Case refused[] = {
        {{"--port", "256"}, "--port"},
        {{"--port", "0"}, "--port"},
        {{"--port", "0x10"}, "--port"},
        {{"--port", "-1"}, "--port"},
        {{"--radios", "101"}, "--radios"},
        {{"--radios", "0"}, "--radios"},
        {{"--swap-after", "1e3"}, "--swap-after"},
        {{"--radios", " 2"}, "--radios"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.arguments.front() + " " + c.arguments.back());
        // --port and --link exclude each other.
        std::vector<std::string> arguments = c.arguments;
        if (c.names != "--port") {
            arguments.insert(arguments.end(), {"--link", m_Link});
        }
        pid_t child = SpawnSimulator(arguments, output);
        ASSERT_GT(child, 0);
        EXPECT_EQ(StopSimulator(child, 0), 2);
        std::string said = halvex::test::ReadBytes(output);
        EXPECT_NE(said.find(c.names + " needs a valid value"), std::string::npos) << said;
        EXPECT_EQ(FolderNames(m_Folder.Path()), std::vector<std::string>{"radio-sim.txt"});
    }
    // As the command line takes it: "0250" is port 250, not 168.
    pid_t child = SpawnSimulator({"--port", "0250"}, output);
    ASSERT_GT(child, 0);
    std::string said = WaitForOutput(output, " -> ");
    EXPECT_NE(said.find("/COM250 -> "), std::string::npos) << said;
    EXPECT_EQ(StopSimulator(child), 0);
}

// The lock beside the link is the radio's own: created for it, never a file of the user's,
// and only that one removed at stop.
TEST_F(VirtualRadioTest, TheLinkLockIsCreatedForTheRadioAndOnlyItsOwnIsRemoved) {
    ASSERT_EQ(mkdir(m_Folder.File("ports").c_str(), 0755), 0);
    const std::string lock = m_Link + ".lock";
    struct Case {
        const char* name;
        std::string before;
        bool served;
    };
    const Case cases[] = {
        {"a file of the user's", "my notes\n", false},
        {"an empty file of the user's", "", false},
        {"the lock of a radio that died", "radio-sim lock of process 1\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(lock) << c.before;
        std::string error;
        m_Radio.SetMemory(DemoMemory());
        EXPECT_EQ(m_Radio.Start(m_Link, {}, &error), c.served) << error;
        if (!c.served) {
            EXPECT_NE(error.find("is not a virtual radio's lock"), std::string::npos) << error;
            EXPECT_EQ(halvex::test::ReadBytes(lock), c.before);
            struct stat status {};
            EXPECT_NE(lstat(m_Link.c_str(), &status), 0) << "linked without its lock";
            continue;
        }
        m_Radio.Stop();
        EXPECT_FALSE(std::filesystem::exists(lock));
    }
    // Replaced while the radio runs, the file at that name is not its lock any more.
    Start();
    const std::string other = m_Folder.File("other");
    std::ofstream(other) << "my notes\n";
    ASSERT_EQ(rename(other.c_str(), lock.c_str()), 0);
    m_Radio.Stop();
    EXPECT_EQ(halvex::test::ReadBytes(lock), "my notes\n");
}

// Radios of a sequence start from their own files, and a radio that was not written leaves its
// file alone and makes none.
TEST_F(VirtualRadioTest, EachRadioOfASequenceHasItsOwnFileAndOnlyWrittenOnesAreSaved) {
    const std::string first = m_Folder.File("radio.pgm");
    const std::string second = m_Folder.File("radio-2.pgm");
    RadioMemory own = DemoMemory();
    own[0x0900] = 0x22;
    std::string error;
    ASSERT_TRUE(SaveMemoryFile(first, NewMemoryFile(first, DemoMemory()), &error)) << error;
    ASSERT_TRUE(SaveMemoryFile(second, NewMemoryFile(second, own), &error)) << error;
    const std::string secondBefore = halvex::test::ReadBytes(second);
    const std::string output = m_Folder.File("radio-sim.txt");
    pid_t child = SpawnSimulator(
        {"--link", m_Link, "--memory", first, "--radios", "3", "--swap-after", "2000"}, output);
    ASSERT_GT(child, 0);
    ASSERT_NE(WaitForOutput(output, " -> ").find(" -> "), std::string::npos);
    {
        Port port(m_Link);
        WriteOneBlock(&port);
        // Radio 1 goes, and for a while nothing answers; then radio 2 does. A radio on the
        // cable answers well within a probe's second, however late the machine runs it.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        bool seenGone = false;
        for (;;) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "radio 2 never answered";
            bool answered = port.Exchange(kWakeUp, 1, 1000) == Bytes{0x06};
            if (answered && seenGone) {
                break;
            }
            if (answered) {
                port.Exchange({0x62}, 1);
            }
            seenGone = seenGone || !answered;
        }
        ASSERT_EQ(port.Exchange({0x02}, 8).size(), 8u);
        ASSERT_EQ(port.Exchange({0x06}, 1), Bytes{0x06});
        EXPECT_EQ(Payload(port.Exchange(ReadRequest(0x0900), 20)), Block(own, 0x0900));
        EXPECT_EQ(port.Exchange({0x62}, 1), Bytes{0x06});
    }
    EXPECT_EQ(StopSimulator(child), 0) << halvex::test::ReadBytes(output);
    MemoryFile saved;
    ASSERT_TRUE(LoadMemoryFile(first, &saved, &error)) << error;
    EXPECT_EQ(Block(saved.memory, 0x0900), Payload(kWrittenBlock));
    EXPECT_EQ(halvex::test::ReadBytes(second), secondBefore);
    EXPECT_FALSE(std::filesystem::exists(m_Folder.File("radio-3.pgm")));
}

TEST_F(VirtualRadioTest, AMemoryThatCouldNotBeSavedFailsTheRunAndIsNamedOnce) {
    const std::string folder = m_Folder.File("gone");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string output = m_Folder.File("radio-sim.txt");
    pid_t child = SpawnSimulator({"--link", m_Link, "--memory", folder + "/radio.pgm"}, output);
    ASSERT_GT(child, 0);
    ASSERT_NE(WaitForOutput(output, " -> ").find(" -> "), std::string::npos);
    ASSERT_EQ(rmdir(folder.c_str()), 0);
    {
        Port port(m_Link);
        WriteOneBlock(&port);
    }
    WaitForOutput(output, "not saved");
    EXPECT_EQ(StopSimulator(child), 1);
    std::string said = halvex::test::ReadBytes(output);
    size_t first = said.find("the memory was not saved");
    ASSERT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find("the memory was not saved", first + 1), std::string::npos) << said;
}

}  // namespace
