// The clone exchange over a pseudo-terminal against the virtual radio, with its faults.
#include "link/clone_protocol.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "link/serial_port.h"
#include "link_test_support.h"
#include "platform/profile.h"
#include "sim/virtual_radio.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kWakeUp = {0x46, 0x56, 0x4F, 0x47, 0x52, 0x41, 0x4D};
constexpr uint8_t kPrepared = 0xAA;
constexpr int kRadioPort = 3;

Bytes Concatenate(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes ReadRequest(int address) {
    return {0x52, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF), 0x10};
}

size_t CountOf(const Bytes& haystack, const Bytes& needle) {
    size_t count = 0;
    for (auto at = haystack.begin();
         (at = std::search(at, haystack.end(), needle.begin(), needle.end())) != haystack.end();
         ++at) {
        ++count;
    }
    return count;
}

VirtualRadioOptions Line(bool echo, bool pace9600) {
    VirtualRadioOptions options;
    options.echo = echo;
    options.pace9600 = pace9600;
    return options;
}

bool SameRange(const uint8_t* a, const uint8_t* b, size_t from, size_t to) {
    return std::equal(a + from, a + to, b + from);
}

class CloneProtocolTest : public ::testing::Test {
protected:
    CloneProtocolTest() : m_Dir("clone") { m_Image.fill(kPrepared); }
    ~CloneProtocolTest() override {
        m_Port.Close();
        m_Radio.Stop();
    }

    void StartRadio(const VirtualRadioOptions& options,
                    const RadioMemory& memory = PatternMemory(1)) {
        std::string error;
        m_Radio.SetMemory(memory);
        ASSERT_TRUE(m_Radio.Start(m_Dir.PortLink(kRadioPort), options, &error)) << error;
    }

    void Run(const LinkSettings& settings, bool read) {
        m_Dir.WriteSettings(settings);
        m_Job.Reset(&m_Port, m_Dir.SettingsPath(), read, m_Image.data());
        TransferThreadProc(m_Job);
    }

    TemporaryModuleDir m_Dir;
    VirtualRadio m_Radio;
    CSerialPort m_Port;
    TransferJob m_Job;
    std::array<uint8_t, 8192> m_Image{};
};

TEST_F(CloneProtocolTest, FullTransfersMoveExactlyTheCloneRange) {
    struct Case {
        int rwtype;
        bool echo;
        bool read;
    };
    for (const Case& c :
         {Case{1, false, true}, Case{2, true, true}, Case{1, false, false}, Case{2, true, false}}) {
        SCOPED_TRACE("rwtype " + std::to_string(c.rwtype) + (c.read ? " read" : " write"));
        RadioMemory before = PatternMemory(c.rwtype);
        for (size_t i = 0; i < m_Image.size(); ++i) {
            m_Image[i] = static_cast<uint8_t>(i * 7);
        }
        std::array<uint8_t, 8192> imageBefore = m_Image;
        StartRadio(Line(c.echo, false), before);
        Run({{"rwtype", c.rwtype}, {"com", kRadioPort}}, c.read);
        m_Radio.Stop();
        m_Port.Close();

        RadioMemory after = m_Radio.Memory();
        Bytes sent = m_Radio.ReceivedBytes();
        EXPECT_EQ(m_Job.Progress(), 100);
        ASSERT_TRUE(sent.size() > 9);
        EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 9), Concatenate({kWakeUp, {0x02, 0x06}}));
        EXPECT_EQ(sent.back(), 0x62);
        if (c.read) {
            EXPECT_EQ(m_Job.Status(), StatusReadDone);
            EXPECT_TRUE(SameRange(m_Image.data(), before.data(), 0x0800, 0x2000));
            EXPECT_TRUE(SameRange(m_Image.data(), imageBefore.data(), 0, 0x0800));
            Bytes requests;
            for (int address = 0x0800; address < 0x2000; address += 16) {
                requests = Concatenate({requests, ReadRequest(address)});
            }
            EXPECT_EQ(sent, Concatenate({kWakeUp, {0x02, 0x06}, requests, {0x62}}));
            EXPECT_EQ(CountOf(sent, {0x52, 0x0D, 0x40, 0x10}), 1u);
        } else {
            EXPECT_EQ(m_Job.Status(), StatusWriteDone);
            EXPECT_TRUE(SameRange(after.data(), m_Image.data(), 0x0800, 0x2000));
            EXPECT_TRUE(SameRange(after.data(), before.data(), 0, 0x0800));
            Bytes lastFrame = {0x57, 0x1F, 0xF0, 0x10};
            lastFrame.insert(lastFrame.end(), m_Image.begin() + 0x1FF0, m_Image.end());
            EXPECT_EQ(Bytes(sent.end() - 21, sent.end() - 1), lastFrame);
            EXPECT_EQ(sent.size(), 9u + 384u * 20u + 1u);
        }
    }
}

TEST_F(CloneProtocolTest, WakeUpGivesUpAfterTenTriesWithTheSearchOff) {
    struct Case {
        int ignoredWakeUps;
        TransferStatus expected;
    };
    for (const Case& c : {Case{9, StatusReadDone}, Case{10, StatusPortError}}) {
        SCOPED_TRACE(c.ignoredWakeUps);
        VirtualRadioOptions options;
        options.faults.ignoreWakeUps = c.ignoredWakeUps;
        StartRadio(options);
        Run({{"com", kRadioPort}, {"readtime", 20}}, true);
        m_Radio.Stop();
        m_Port.Close();
        EXPECT_EQ(m_Job.Status(), c.expected);
        Bytes sent = m_Radio.ReceivedBytes();
        EXPECT_EQ(CountOf(sent, kWakeUp), 10u);
        EXPECT_EQ(CountOf(sent, {0x02}) > 0, c.expected == StatusReadDone);
    }
}

TEST_F(CloneProtocolTest, CableSettingThatDoesNotMatchTheCable) {
    struct Case {
        int rwtype;
        bool echo;
        TransferStatus expected;
        size_t wakeUps;
    };
    // An echo setting on a plain cable still wakes the radio but counts one byte short in
    // the identification; a direct setting on an echoing cable hears its own 'F' every time.
    for (const Case& c :
         {Case{2, false, StatusIdentError, 1}, Case{1, true, StatusPortError, 10}}) {
        SCOPED_TRACE(c.rwtype);
        StartRadio(Line(c.echo, false));
        Run({{"rwtype", c.rwtype}, {"com", kRadioPort}}, true);
        m_Radio.Stop();
        m_Port.Close();
        EXPECT_EQ(m_Job.Status(), c.expected);
        EXPECT_EQ(CountOf(m_Radio.ReceivedBytes(), kWakeUp), c.wakeUps);
    }
}

TEST_F(CloneProtocolTest, IdentificationMustBeEightBytes) {
    struct Case {
        int rwtype;
        bool echo;
        int length;
        TransferStatus expected;
    };
    for (const Case& c : {Case{1, false, 7, StatusIdentError}, Case{1, false, 0, StatusPortError},
                          Case{2, true, 7, StatusIdentError}, Case{2, true, 0, StatusPortError},
                          Case{2, true, 8, StatusReadDone}}) {
        SCOPED_TRACE(std::to_string(c.rwtype) + " " + std::to_string(c.length));
        VirtualRadioOptions options = Line(c.echo, false);
        options.faults.identificationLength = c.length;
        StartRadio(options);
        Run({{"rwtype", c.rwtype}, {"com", kRadioPort}, {"readtime", 20}}, true);
        m_Radio.Stop();
        m_Port.Close();
        EXPECT_EQ(m_Job.Status(), c.expected);
    }
}

TEST_F(CloneProtocolTest, SearchFindsTheRadioAndRemembersItsPortOnlyAfterIdentification) {
    struct Case {
        int identificationLength;
        TransferStatus expected;
        std::string com;
        int foundPort;
    };
    for (const Case& c : {Case{7, StatusIdentError, "9", 3}, Case{8, StatusReadDone, "3", -1}}) {
        SCOPED_TRACE(c.identificationLength);
        for (int n : {1, 2, 9}) {
            std::filesystem::remove(m_Dir.PortLink(n));
            m_Dir.AddMissingPort(n);
        }
        VirtualRadioOptions options;
        options.faults.identificationLength = c.identificationLength;
        StartRadio(options);
        Run({{"searchcom", "1"}, {"com", 9}, {"readtime", 20}}, true);
        m_Radio.Stop();
        m_Port.Close();
        EXPECT_EQ(m_Job.Status(), c.expected);
        EXPECT_EQ(ReadProfileString(m_Dir.SettingsPath(), "setup", "com", "", 8), c.com);
        EXPECT_EQ(m_Job.FoundPort(), c.foundPort);
        if (c.expected != StatusReadDone) {
            EXPECT_EQ(m_Job.Progress(), 3);
        }
    }
}

TEST_F(CloneProtocolTest, SearchOverEveryPortEndsInPortError) {
    for (int n = 1; n <= 255; ++n) {
        m_Dir.AddMissingPort(n);
    }
    Run({{"searchcom", "1"}, {"com", 4}}, true);
    EXPECT_EQ(m_Job.Status(), StatusPortError);
    EXPECT_EQ(m_Job.FoundPort(), -1);
    EXPECT_FALSE(m_Port.IsOpen());

    // "0..." turns the search off whatever follows.
    Run({{"searchcom", "0ff"}, {"com", 4}}, true);
    EXPECT_EQ(m_Job.Status(), StatusPortError);
}

TEST_F(CloneProtocolTest, ReadBlockFaults) {
    struct Case {
        bool wrongAddress;
        int times;
        TransferStatus expected;
        bool blockKept;
    };
    constexpr int kBlock = 0x0D40;
    for (const Case& c :
         {Case{true, 3, StatusReadDone, true}, Case{true, 2, StatusReadDone, false},
          Case{false, 3, StatusReadFailed, true}, Case{false, 2, StatusReadDone, false}}) {
        SCOPED_TRACE(std::string(c.wrongAddress ? "wrong address " : "short answer ") +
                     std::to_string(c.times));
        m_Image.fill(kPrepared);
        RadioMemory memory = PatternMemory(5);
        VirtualRadioOptions options;
        if (c.wrongAddress) {
            options.faults.wrongAddressBlock = kBlock;
            options.faults.wrongAddressTimes = c.times;
        } else {
            options.faults.shortAnswerBlock = kBlock;
            options.faults.shortAnswerTimes = c.times;
        }
        StartRadio(options, memory);
        Run({{"com", kRadioPort}, {"readtime", 20}}, true);
        m_Radio.Stop();
        m_Port.Close();
        EXPECT_EQ(m_Job.Status(), c.expected);
        Bytes sent = m_Radio.ReceivedBytes();
        EXPECT_EQ(CountOf(sent, ReadRequest(kBlock)),
                  static_cast<size_t>(std::min(c.times + 1, 3)));
        EXPECT_EQ(sent.back() == 0x62, c.expected == StatusReadDone);
        Bytes kept(16, kPrepared);
        EXPECT_EQ(Bytes(m_Image.begin() + kBlock, m_Image.begin() + kBlock + 16) == kept,
                  c.blockKept);
        EXPECT_TRUE(SameRange(m_Image.data(), memory.data(), 0x0800, kBlock));
        if (c.expected == StatusReadDone) {
            EXPECT_TRUE(SameRange(m_Image.data(), memory.data(), kBlock + 16, 0x2000));
        } else {
            EXPECT_EQ(CountOf(sent, ReadRequest(kBlock + 16)), 0u);
        }
    }
}

TEST_F(CloneProtocolTest, UnacknowledgedBlockFailsTheWriteAfterThreeTries) {
    struct Case {
        int times;
        TransferStatus expected;
    };
    constexpr int kBlock = 0x1000;
    for (const Case& c : {Case{3, StatusWriteFailed}, Case{2, StatusWriteDone}}) {
        SCOPED_TRACE(c.times);
        for (size_t i = 0; i < m_Image.size(); ++i) {
            m_Image[i] = static_cast<uint8_t>(i + c.times);
        }
        VirtualRadioOptions options;
        options.faults.noAckBlock = kBlock;
        options.faults.noAckTimes = c.times;
        RadioMemory blank;
        blank.fill(0xFF);
        StartRadio(options, blank);
        Run({{"com", kRadioPort}, {"writetime", 20}}, false);
        m_Radio.Stop();
        m_Port.Close();
        EXPECT_EQ(m_Job.Status(), c.expected);
        RadioMemory after = m_Radio.Memory();
        Bytes sent = m_Radio.ReceivedBytes();
        EXPECT_TRUE(SameRange(after.data(), m_Image.data(), 0x0800, kBlock));
        if (c.expected == StatusWriteFailed) {
            EXPECT_NE(sent.back(), 0x62);
            EXPECT_TRUE(std::all_of(after.begin() + kBlock, after.end(),
                                    [](uint8_t b) { return b == 0xFF; }));
            EXPECT_EQ(m_Job.Progress(), 100 * kBlock / 8192);
        } else {
            EXPECT_EQ(sent.back(), 0x62);
            EXPECT_TRUE(SameRange(after.data(), m_Image.data(), 0x0800, 0x2000));
        }
    }
}

TEST_F(CloneProtocolTest, CancelBetweenBlocksStopsWithoutTheEndByte) {
    StartRadio(Line(false, true));
    m_Dir.WriteSettings({{"com", kRadioPort}});
    m_Job.Reset(&m_Port, m_Dir.SettingsPath(), true, m_Image.data());
    std::thread worker([this] { TransferThreadProc(m_Job); });
    while (m_Job.Progress() < 40 && !IsFinalStatus(m_Job.Status())) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    m_Job.Cancel();
    worker.join();
    int progress = m_Job.Progress();
    EXPECT_EQ(m_Job.Status(), StatusReadProgress);
    EXPECT_GE(progress, 40);
    EXPECT_LT(progress, 100);
    // Let anything still on its way reach the radio before looking.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Bytes sent = m_Radio.ReceivedBytes();
    EXPECT_EQ(CountOf(sent, {0x62}), 0u);
    int lastAddress = (sent[sent.size() - 3] << 8) | sent[sent.size() - 2];
    EXPECT_EQ(Bytes(sent.end() - 4, sent.end()), ReadRequest(lastAddress));
    EXPECT_EQ(100 * (lastAddress + 16) / 8192, progress);
}

TEST_F(CloneProtocolTest, CancelBeforeTheWakeUpSendsNothing) {
    StartRadio(Line(false, false));
    m_Dir.WriteSettings({{"com", kRadioPort}});
    m_Job.Reset(&m_Port, m_Dir.SettingsPath(), true, m_Image.data());
    m_Job.Cancel();
    TransferThreadProc(m_Job);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(m_Job.Status(), StatusIdle);
    EXPECT_TRUE(m_Radio.ReceivedBytes().empty());
    EXPECT_TRUE(
        std::all_of(m_Image.begin(), m_Image.end(), [](uint8_t b) { return b == kPrepared; }));
}

TEST_F(CloneProtocolTest, EchoCableAtLineSpeedGivesAnExactImageBothWays) {
    RadioMemory memory = PatternMemory(9);
    StartRadio(Line(true, true), memory);
    Run({{"rwtype", 2}, {"com", kRadioPort}}, true);
    EXPECT_EQ(m_Job.Status(), StatusReadDone);
    EXPECT_TRUE(SameRange(m_Image.data(), memory.data(), 0x0800, 0x2000));
    Bytes sent = m_Radio.ReceivedBytes();
    for (int address = 0x0800; address < 0x2000; address += 16) {
        ASSERT_EQ(CountOf(sent, ReadRequest(address)), 1u) << address;
    }

    for (size_t i = 0x0800; i < m_Image.size(); ++i) {
        m_Image[i] = static_cast<uint8_t>(~m_Image[i]);
    }
    Run({{"rwtype", 2}, {"com", kRadioPort}}, false);
    EXPECT_EQ(m_Job.Status(), StatusWriteDone);
    RadioMemory after = m_Radio.Memory();
    EXPECT_TRUE(SameRange(after.data(), m_Image.data(), 0x0800, 0x2000));
}

}  // namespace
