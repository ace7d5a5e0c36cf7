// SPDX-License-Identifier: GPL-3.0-or-later
#include "testmode/mode_link.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "config/setting_definitions.h"
#include "link/cable_exchange.h"
#include "link/clone_frames.h"
#include "link/radio_connection.h"

using namespace clone_frames;

namespace {

// Test mode's write frame carries this count byte, yet 16 data bytes follow it.
constexpr uint8_t kWriteCount = 0x08;

constexpr int kBlockTries = 3;
// As in the clone exchange, a longer answer time than this counts as this.
constexpr int kLongestAnswerMs = 10000;

// A cable or adapter slow enough for the user to raise the clone's answer times is slow for
// test mode's blocks too; test mode's own windows stay the shortest.
int BlockWindow(int ownMs, const IntSetting& setting, const std::string& path) {
    return std::clamp(setting.Read(path), ownMs, std::max(ownMs, kLongestAnswerMs));
}

// Everything test mode sends goes out as if the cable might echo; the helper tells an echo
// from an answer by its bytes.
constexpr CableType kCable = CableType::Echo;

}  // namespace

LinkResult TestModeLink::Connect() {
    LinkResult result;
    CableRules rules;
    rules.cable = kCable;
    rules.fixedPort = m_FixedPort;
    RadioConnection connection(m_Port, m_SettingsPath, rules, m_Cancel);
    ConnectResult connected = connection.Connect();
    result.warning = connection.Warning();
    switch (connected) {
        case ConnectResult::Connected:
            result.connected = true;
            m_ReadAnswerMs = BlockWindow(kOwnReadAnswerMs, settings::kReadTime, m_SettingsPath);
            m_WriteAnswerMs = BlockWindow(kOwnWriteAnswerMs, settings::kWriteTime, m_SettingsPath);
            break;
        case ConnectResult::Cancelled:
            result.cancelled = true;
            break;
        case ConnectResult::WrongRadio:
            m_Port.Close();
            result.failure = kWrongRadioMessage;
            break;
        case ConnectResult::NoRadio:
        case ConnectResult::EchoCable:
            m_Port.Close();
            result.failure = kNoRadioMessage;
            break;
    }
    return result;
}

bool TestModeLink::ReadBlock(int address, RadioImage& image) {
    ReadRequestFrame request = ReadRequest(address);
    uint8_t answer[kDataFrameSize];
    // A busy machine can hold an answer up past its time-out; the block is asked for again
    // after a quiet line, as the clone exchange does.
    for (int attempt = 0; attempt < kBlockTries; ++attempt) {
        SettleAfterFailure();
        CableAnswer taken = ExchangeFrame(m_Port, kCable, request.data(), kReadRequestSize, answer,
                                          kDataFrameSize, m_ReadAnswerMs);
        // A slipped or stray frame would put another block's bytes here and still end as read.
        if (AnswersRequest(answer, taken.count, request)) {
            std::memcpy(image.bytes.data() + address, answer + 4, kBlockSize);
            ExchangeForByte(m_Port, kCable, &kAck, 1, kShortAnswerMs);
            return true;
        }
        m_Failed = true;
    }
    return false;
}

bool TestModeLink::WriteBlock(int address, const RadioImage& image) {
    DataFrameBytes frame = DataFrame(address, kWriteCount, image.bytes.data());
    SettleAfterFailure();
    m_Failed =
        ExchangeForByte(m_Port, kCable, frame.data(), kDataFrameSize, m_WriteAnswerMs) != kAck;
    return !m_Failed;
}

void TestModeLink::SendAdjust(const AdjustFrame& frame) {
    SettleAfterFailure();
    ExchangeForByte(m_Port, kCable, frame.data(), static_cast<int>(frame.size()), kShortAnswerMs);
}

void TestModeLink::SendEnd() {
    SettleAfterFailure();
    ExchangeForByte(m_Port, kCable, &kEndCommand, 1, kShortAnswerMs);
}

void TestModeLink::SendEndWithoutAnswer() {
    m_Port.WriteByte(kEndCommand, 1, m_Cancel);
}

// A failed block's answer may still be on its way; the next frame waits for a quiet line.
void TestModeLink::SettleAfterFailure() {
    if (std::exchange(m_Failed, false)) {
        DrainReceive(m_Port, m_Cancel, kQuietAfterAnomalyMs);
    }
}
