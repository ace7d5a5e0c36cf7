// SPDX-License-Identifier: GPL-3.0-or-later
// Test mode's exchanges over a pseudo-terminal against the virtual radio: the bytes the
// radio receives, what lands in the image, and the port and flag each failure leaves.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "link/serial_port.h"
#include "platform/profile.h"
#include "sim/virtual_radio.h"
#include "support/test_mode_language.h"
#include "support/virtual_radio_fixture.h"
#include "testmode/mode_session.h"

namespace {

using halvex::test::Bytes;
using halvex::test::PatternMemory;
using halvex::test::RadioLine;
using halvex::test::ReceivedBeforeMarker;
using halvex::test::SameRange;

// Wake-up, identification request and its acknowledgement.
const Bytes kLinkSteps = {0x46, 0x56, 0x4F, 0x47, 0x52, 0x41, 0x4D, 0x02, 0x06};
constexpr uint8_t kPrepared = 0xAA;

void Append(Bytes& bytes, const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

// Each block's read request followed by its acknowledgement.
Bytes BlockReads(int from, int to) {
    Bytes bytes;
    for (int address = from; address < to; address += 16) {
        Append(bytes, {0x52, static_cast<uint8_t>(address >> 8),
                       static_cast<uint8_t>(address & 0xFF), 0x10, 0x06});
    }
    return bytes;
}

// A busy radio's late answer is asked for again before the acknowledgement; what counts is
// each frame once, in order. *repeats counts the requests left out.
Bytes WithoutRepeatedRequests(Bytes bytes, int* repeats) {
    *repeats = 0;
    for (size_t i = 0; i + 8 <= bytes.size();) {
        auto request = bytes.begin() + static_cast<long>(i);
        if (bytes[i] == 0x52 && bytes[i + 3] == 0x10 &&
            std::equal(request, request + 4, request + 4)) {
            bytes.erase(request, request + 4);
            ++*repeats;
        } else {
            ++i;
        }
    }
    return bytes;
}

Bytes AdjustFrameHead(uint8_t bank, uint8_t value, uint8_t index, uint8_t bankNumber) {
    Bytes head = {0x67, 0x0F, bank, 0x10, value, index, bankNumber};
    head.insert(head.end(), 9, 0xFF);
    return head;
}

bool AllPrepared(const RadioImage& image, size_t from, size_t to) {
    return std::all_of(image.bytes.begin() + from, image.bytes.begin() + to,
                       [](uint8_t byte) { return byte == kPrepared; });
}

class TestModeLinkTest : public ::testing::Test, protected halvex::test::VirtualRadioFixture {
protected:
    TestModeLinkTest()
        : VirtualRadioFixture("testmode"),
          m_Language(TemporaryTestDataLanguage::NumberedItems(40)),
          m_Session(m_Port, m_Port.PortsFolder(), SettingsPath(), m_Language.Path(), m_Image) {
        m_Image.bytes.fill(kPrepared);
        WriteSettings({{"com", kRadioPort}});
        m_Session.Fill();
    }

    void StartRadio(const VirtualRadioOptions& options,
                    const RadioMemory& memory = PatternMemory(1)) {
        std::string error;
        ASSERT_TRUE(VirtualRadioFixture::StartRadio(options, memory, &error)) << error;
    }

    // One exchange as the dialog runs it, with the worker's part on this thread.
    TestModeOutcome Run(TestExchangeKind kind) {
        m_Session.BeginExchange(kind, m_Job);
        RunTestExchange(m_Job);
        return m_Session.FinishExchange(m_Job);
    }

    TemporaryTestDataLanguage m_Language;
    RadioImage m_Image;
    TestModeSession m_Session;
    TestExchangeJob m_Job;
};

// An echoing cable may give an acknowledgement back after its short wait, as a slow adapter on
// a busy machine does: the next block is still read at the first request.
TEST_F(TestModeLinkTest, StartHoldsTheRadioInTestModeAndAdjustsTheBankItems) {
    struct Case {
        bool echo;
        int lateAckEchoMs;
    };
    for (const Case& c : {Case{false, 0}, Case{true, 0}, Case{true, 150}}) {
        const bool echo = c.echo;
        SCOPED_TRACE(std::string(echo ? "echo cable" : "direct cable") +
                     (c.lateAckEchoMs > 0 ? ", late acknowledgement echoes" : ""));
        m_Image.bytes.fill(kPrepared);
        m_Session.Fill();
        RadioMemory memory = PatternMemory(echo ? 3 : 2);
        memory[0x0FF4] = 0xFF;
        VirtualRadioOptions options = RadioLine(echo);
        options.lateAckEchoMs = c.lateAckEchoMs;
        StartRadio(options, memory);

        TestModeOutcome outcome = Run(TestExchangeKind::StartTestMode);
        EXPECT_FALSE(outcome.message);
        EXPECT_TRUE(outcome.refill);
        EXPECT_TRUE(m_Port.IsOpen());
        EXPECT_TRUE(m_Session.InTestMode());
        EXPECT_TRUE(SameRange(m_Image.bytes.data(), memory.data(), 0x0FC0, 0x1000));
        EXPECT_TRUE(AllPrepared(m_Image, 0, 0x0FC0));
        EXPECT_TRUE(AllPrepared(m_Image, 0x1000, 0x2000));
        Bytes expected = kLinkSteps;
        Append(expected, BlockReads(0x0FC0, 0x1000));
        Append(expected, AdjustFrameHead(0xE0, memory[0x0FE0], 0x00, 0x00));
        // A radio behind a late echo may still be taking in what was sent.
        auto sentSince = [this](size_t mark, size_t count) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            Bytes sent = SentSince(mark);
            while (sent.size() < count && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                sent = SentSince(mark);
            }
            return sent;
        };
        Bytes sent = sentSince(0, expected.size() + 4);
        ASSERT_EQ(sent.size(), expected.size() + 4);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), sent.begin()));
        EXPECT_EQ(m_Session.Position(), memory[0x0FE0]);

        size_t mark = m_Radio.ReceivedBytes().size();
        m_Session.Select(20);
        Bytes adjust = sentSince(mark, 20);
        ASSERT_EQ(adjust.size(), 20u);
        EXPECT_EQ(Bytes(adjust.begin(), adjust.begin() + 16),
                  AdjustFrameHead(0xF0, 0xFF, 0x04, 0x01));

        // Line right wraps 255 to 0; the radio hears of it only when the user lets go.
        mark = m_Radio.ReceivedBytes().size();
        m_Session.Scroll(ScrollCode::LineRight, 0);
        EXPECT_TRUE(SentSince(mark).empty());
        EXPECT_TRUE(m_Session.Scroll(ScrollCode::EndScroll, 0).stored);
        adjust = sentSince(mark, 20);
        ASSERT_EQ(adjust.size(), 20u);
        EXPECT_EQ(Bytes(adjust.begin(), adjust.begin() + 16),
                  AdjustFrameHead(0xF0, 0x00, 0x04, 0x01));
        EXPECT_EQ(m_Radio.Memory()[0x0FF4], 0x00);
        EXPECT_EQ(m_Image.bytes[0x0FF4], 0x00);

        // Items past the adjust banks are never sent.
        mark = m_Radio.ReceivedBytes().size();
        m_Session.Select(35);
        m_Session.Scroll(ScrollCode::LineLeft, 0);
        m_Session.Scroll(ScrollCode::EndScroll, 0);
        EXPECT_TRUE(SentSince(mark).empty());

        // Close (Cancel, Enter or the window's close) ends test mode and frees the port.
        m_Session.Close();
        EXPECT_EQ(sentSince(mark, 1), Bytes{0x62});
        EXPECT_FALSE(m_Port.IsOpen());
        EXPECT_FALSE(m_Session.InTestMode());
        m_Session.Close();
        EXPECT_EQ(sentSince(mark, 1), Bytes{0x62});
        m_Radio.Stop();
    }
}

// Both cable kinds: a direct cable must not wait out the echo's time-out on every block.
class TestModeWriteAllTest : public TestModeLinkTest, public ::testing::WithParamInterface<bool> {};

INSTANTIATE_TEST_SUITE_P(Cables, TestModeWriteAllTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& cable) {
                             return cable.param ? "Echo" : "Direct";
                         });

TEST_P(TestModeWriteAllTest, InTestModeEndsItFirstAndWritesTheWholeMemory) {
    StartRadio(RadioLine(GetParam()));
    ASSERT_FALSE(Run(TestExchangeKind::StartTestMode).message);
    size_t mark = m_Radio.ReceivedBytes().size();
    RadioMemory written = PatternMemory(7);
    std::copy(written.begin(), written.end(), m_Image.bytes.begin());

    TestModeOutcome outcome = Run(TestExchangeKind::WriteAll);
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(*outcome.message, kWriteDoneMessage);
    EXPECT_FALSE(m_Port.IsOpen());
    EXPECT_FALSE(m_Session.InTestMode());
    EXPECT_EQ(m_Radio.Memory(), written);

    Bytes expected = {0x62};
    Append(expected, kLinkSteps);
    for (int address = 0; address < 0x2000; address += 16) {
        Append(expected, {0x57, static_cast<uint8_t>(address >> 8),
                          static_cast<uint8_t>(address & 0xFF), 0x08});
        expected.insert(expected.end(), written.begin() + address, written.begin() + address + 16);
    }
    expected.push_back(0x62);
    EXPECT_EQ(SentSince(mark), expected);
}

TEST_F(TestModeLinkTest, ReadAllFillsTheWholeImageAndLeavesTheFlagAlone) {
    RadioMemory memory = PatternMemory(4);
    StartRadio(RadioLine(true), memory);
    m_Session.Select(12);

    m_Session.BeginExchange(TestExchangeKind::ReadAll, m_Job);
    RunTestExchange(m_Job);
    // The worker fills its own copy; the image is the document's and changes only after.
    EXPECT_TRUE(AllPrepared(m_Image, 0, 0x2000));
    EXPECT_EQ(m_Job.Progress(), 100);
    TestModeOutcome outcome = m_Session.FinishExchange(m_Job);
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(*outcome.message, kReadDoneMessage);
    EXPECT_TRUE(outcome.refill);
    EXPECT_TRUE(outcome.imageChanged);
    EXPECT_TRUE(std::equal(memory.begin(), memory.end(), m_Image.bytes.begin()));
    EXPECT_FALSE(m_Port.IsOpen());
    EXPECT_FALSE(m_Session.InTestMode());
    EXPECT_EQ(m_Session.SelectedItem(), 0);
    EXPECT_EQ(m_Session.Position(), memory[0x0FE0]);

    Bytes expected = kLinkSteps;
    Append(expected, BlockReads(0, 0x2000));
    expected.push_back(0x62);
    // The end byte may still be on its way to a busy radio.
    EXPECT_EQ(ReceivedBeforeMarker(m_Radio, PortLink(kRadioPort)), expected);
}

// A cable slow enough for the user to raise the read time is given that long for each block
// too; test mode's own window is the shortest.
TEST_F(TestModeLinkTest, BlockAnswersWaitAsLongAsTheSettingsReadTime) {
    struct Case {
        int readTime;
        bool reads;
    };
    for (const Case& c : {Case{50, false}, Case{4000, true}}) {
        SCOPED_TRACE("readtime " + std::to_string(c.readTime));
        WriteSettings({{"com", kRadioPort}, {"readtime", c.readTime}});
        RadioMemory memory = PatternMemory(7);
        VirtualRadioOptions options = RadioLine(true);
        options.faults.lateAnswerBlock = 0x0100;
        options.faults.lateAnswerTimes = 3;
        options.faults.lateAnswerMs = 2000;
        StartRadio(options, memory);

        TestModeOutcome outcome = Run(TestExchangeKind::ReadAll);
        ASSERT_TRUE(outcome.message);
        EXPECT_EQ(*outcome.message, c.reads ? kReadDoneMessage : kNoRadioMessage);
        EXPECT_EQ(std::equal(memory.begin(), memory.end(), m_Image.bytes.begin()), c.reads);
        m_Radio.Stop();
    }
}

// An answer for another block is as bad as a short one: its bytes must never be stored as read.
TEST_F(TestModeLinkTest, ShortOrMisaddressedAnswerClosesThePortAndKeepsTheBlocksAlreadyRead) {
    struct Case {
        bool start;
        bool misaddressed;
        int block;
        int firstRead;
    };
    for (const Case& c : {Case{false, false, 0x0100, 0}, Case{true, false, 0x0FE0, 0x0FC0},
                          Case{false, true, 0x0100, 0}, Case{true, true, 0x0FE0, 0x0FC0}}) {
        SCOPED_TRACE(std::string(c.start ? "start test mode" : "read all") +
                     (c.misaddressed ? ", misaddressed" : ", short"));
        m_Image.bytes.fill(kPrepared);
        RadioMemory memory = PatternMemory(6);
        VirtualRadioOptions options = RadioLine(true);
        if (c.misaddressed) {
            options.faults.wrongAddressBlock = c.block;
            options.faults.wrongAddressTimes = 3;
        } else {
            options.faults.shortAnswerBlock = c.block;
            options.faults.shortAnswerTimes = 3;
        }
        StartRadio(options, memory);

        TestModeOutcome outcome =
            Run(c.start ? TestExchangeKind::StartTestMode : TestExchangeKind::ReadAll);
        ASSERT_TRUE(outcome.message);
        EXPECT_EQ(*outcome.message, kNoRadioMessage);
        EXPECT_TRUE(outcome.imageChanged);
        EXPECT_FALSE(m_Port.IsOpen());
        EXPECT_TRUE(SameRange(m_Image.bytes.data(), memory.data(), c.firstRead, c.block));
        EXPECT_TRUE(AllPrepared(m_Image, c.block, 0x2000));
        EXPECT_TRUE(AllPrepared(m_Image, 0, c.firstRead));
        // Nothing follows the failed request: no acknowledgement, no adjust frame, no end.
        Bytes sent = SentSince(0);
        ASSERT_GE(sent.size(), 4u);
        EXPECT_EQ(Bytes(sent.end() - 4, sent.end()),
                  (Bytes{0x52, static_cast<uint8_t>(c.block >> 8),
                         static_cast<uint8_t>(c.block & 0xFF), 0x10}));
        m_Radio.Stop();
    }
}

TEST_F(TestModeLinkTest, LinkFailuresCloseThePortWithTheirMessage) {
    struct Case {
        const char* name;
        bool echo;
        bool silent;
        int identificationLength;
        TestModeMessage expected;
    };
    for (const Case& c : {Case{"silent", false, true, 8, kNoRadioMessage},
                          Case{"no identification", true, false, 0, kNoRadioMessage},
                          Case{"short identification", false, false, 7, kWrongRadioMessage},
                          Case{"short identification, echo", true, false, 7, kWrongRadioMessage},
                          Case{"long identification", false, false, 12, kWrongRadioMessage}}) {
        SCOPED_TRACE(c.name);
        VirtualRadioOptions options = RadioLine(c.echo);
        options.faults.silent = c.silent;
        options.faults.identificationLength = c.identificationLength;
        StartRadio(options);

        TestModeOutcome outcome = Run(TestExchangeKind::StartTestMode);
        ASSERT_TRUE(outcome.message);
        EXPECT_EQ(*outcome.message, c.expected);
        EXPECT_FALSE(m_Port.IsOpen());
        EXPECT_TRUE(AllPrepared(m_Image, 0, 0x2000));
        // The flag stays set; closing then has nothing to send on a closed port.
        EXPECT_TRUE(m_Session.InTestMode());
        m_Session.Close();
        EXPECT_FALSE(m_Session.InTestMode());
        m_Radio.Stop();
    }
}

// Cancel before the radio answered: the end byte still goes out, as closing the dialog sends
// it, the port is freed and nothing reaches the image, whichever exchange it was.
TEST_F(TestModeLinkTest, CancelSendsTheEndByteAndLeavesTheImage) {
    for (TestExchangeKind kind :
         {TestExchangeKind::StartTestMode, TestExchangeKind::ReadAll, TestExchangeKind::WriteAll}) {
        SCOPED_TRACE(static_cast<int>(kind));
        StartRadio(RadioLine(false), PatternMemory(5));
        m_Session.BeginExchange(kind, m_Job);
        m_Job.Cancel();
        RunTestExchange(m_Job);
        TestModeOutcome outcome = m_Session.FinishExchange(m_Job);
        EXPECT_FALSE(outcome.message);
        EXPECT_FALSE(outcome.imageChanged);
        EXPECT_FALSE(m_Port.IsOpen());
        EXPECT_FALSE(m_Session.InTestMode());
        EXPECT_TRUE(AllPrepared(m_Image, 0, 0x2000));
        // The end byte may still be on its way to a busy radio.
        EXPECT_EQ(ReceivedBeforeMarker(m_Radio, PortLink(kRadioPort)), Bytes{0x62});
        EXPECT_EQ(m_Radio.Memory(), PatternMemory(5));
        m_Radio.Stop();
    }
}

// A write all cancelled halfway leaves the radio part old, part new: the user must hear so.
TEST_F(TestModeLinkTest, CancelledWriteAllAtLineSpeedSaysTheRadioIsPartWritten) {
    RadioMemory before = PatternMemory(5);
    StartRadio(RadioLine(false, true), before);
    RadioMemory written = PatternMemory(6);
    std::copy(written.begin(), written.end(), m_Image.bytes.begin());
    m_Session.BeginExchange(TestExchangeKind::WriteAll, m_Job);
    std::atomic<bool> returned{false};
    std::thread worker([this, &returned] {
        RunTestExchange(m_Job);
        returned = true;
    });
    while (m_Job.Progress() < 10 && !returned) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    m_Job.Cancel();
    worker.join();

    TestModeOutcome outcome = m_Session.FinishExchange(m_Job);
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(*outcome.message, kWriteCancelledMessage);
    EXPECT_FALSE(m_Port.IsOpen());
    RadioMemory after = m_Radio.Memory();
    EXPECT_TRUE(SameRange(after.data(), written.data(), 0, 0x0300));
    EXPECT_TRUE(SameRange(after.data(), before.data(), 0x1F00, 0x2000));
    EXPECT_EQ(SentSince(0).back(), 0x62);
}

TEST_F(TestModeLinkTest, UnacknowledgedBlockStopsWriteAllWithThePortOpen) {
    VirtualRadioOptions options = RadioLine(true);
    options.faults.noAckBlock = 0x0200;
    options.faults.noAckTimes = 1;
    StartRadio(options, PatternMemory(8));
    RadioMemory written = PatternMemory(9);
    std::copy(written.begin(), written.end(), m_Image.bytes.begin());

    TestModeOutcome outcome = Run(TestExchangeKind::WriteAll);
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(*outcome.message, kWriteFailedMessage);
    EXPECT_TRUE(m_Port.IsOpen());
    RadioMemory after = m_Radio.Memory();
    EXPECT_TRUE(SameRange(after.data(), written.data(), 0, 0x0200));
    EXPECT_TRUE(SameRange(after.data(), PatternMemory(8).data(), 0x0200, 0x2000));
    Bytes sent = SentSince(0);
    ASSERT_GE(sent.size(), 20u);
    EXPECT_EQ(Bytes(sent.end() - 20, sent.end() - 16), (Bytes{0x57, 0x02, 0x00, 0x08}));
}

TEST_F(TestModeLinkTest, SearchFindsTheRadioAndRemembersItsPort) {
    WriteSettings({{"searchcom", "1"}, {"com", 1}});
    AddMissingPort(1);
    AddMissingPort(2);
    StartRadio(RadioLine(false));

    TestModeOutcome outcome = Run(TestExchangeKind::StartTestMode);
    EXPECT_FALSE(outcome.message);
    EXPECT_TRUE(outcome.warning.empty()) << outcome.warning;
    EXPECT_EQ(ReadProfileString(SettingsPath(), "setup", "com", "", 8), "3");

    // With the search off, the missing configured port is the end of it.
    m_Session.Close();
    WriteSettings({{"searchcom", "0"}, {"com", 1}});
    outcome = Run(TestExchangeKind::StartTestMode);
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(*outcome.message, kNoRadioMessage);
}

// At line speed the echo and the answer arrive within one time-out: an exchange that took
// them by timing would shift every block it stores.
TEST_F(TestModeLinkTest, EchoingCableAtLineSpeedReadsUnshiftedData) {
    RadioMemory memory = PatternMemory(11);
    StartRadio(RadioLine(true, true), memory);

    ASSERT_FALSE(Run(TestExchangeKind::StartTestMode).message);
    EXPECT_TRUE(SameRange(m_Image.bytes.data(), memory.data(), 0x0FC0, 0x1000));
    TestModeOutcome outcome = Run(TestExchangeKind::ReadAll);
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(*outcome.message, kReadDoneMessage);
    EXPECT_TRUE(std::equal(memory.begin(), memory.end(), m_Image.bytes.begin()));

    Bytes expected = kLinkSteps;
    Append(expected, BlockReads(0x0FC0, 0x1000));
    Append(expected, AdjustFrameHead(0xE0, memory[0x0FE0], 0x00, 0x00));
    // The end byte may still be on its way to a busy radio.
    std::optional<Bytes> received = ReceivedBeforeMarker(m_Radio, PortLink(kRadioPort));
    ASSERT_TRUE(received);
    // A request asked again, in either exchange, is the radio falling behind, not a shift.
    int repeats = 0;
    const Bytes sent = WithoutRepeatedRequests(*received, &repeats);
    ASSERT_GT(sent.size(), expected.size() + 4);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), sent.begin()));
    Bytes readAll = kLinkSteps;
    Append(readAll, BlockReads(0, 0x2000));
    readAll.push_back(0x62);
    EXPECT_EQ(Bytes(sent.begin() + static_cast<long>(expected.size() + 4), sent.end()), readAll);
    // Asking again is for a radio that fell behind now and then, not for every block.
    EXPECT_LT(repeats, 16) << "of 512 block requests";
}

}  // namespace
