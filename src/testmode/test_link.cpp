#include "testmode/test_link.h"

#include <cstring>

#include "link/cable_exchange.h"
#include "link/clone_frames.h"
#include "link/serial_port.h"
#include "platform/profile.h"

using namespace clone_frames;

namespace {

// Test mode's write frame carries this count byte, yet 16 data bytes follow it.
constexpr uint8_t kWriteCount = 0x08;

constexpr int kFrameSize = 4 + kTestBlockSize;

constexpr int kBlockAnswerMs = 200;
constexpr int kWriteAnswerMs = 500;

// Everything test mode sends goes out as if the cable might echo; the helper tells an echo
// from an answer by its bytes.
constexpr CableType kCable = CableType::Echo;

void SetAddress(uint8_t* frame, int address) {
    frame[1] = static_cast<uint8_t>(address >> 8);
    frame[2] = static_cast<uint8_t>(address & 0xFF);
}

}  // namespace

LinkResult TestModeLink::Connect() {
    LinkResult result;
    std::string searchText = ReadProfileString(m_SettingsPath, "setup", "searchcom", "1", 8);
    bool search = !searchText.starts_with('0');
    if (!m_Port.IsOpen()) {
        m_Port.Open(ReadProfileInt(m_SettingsPath, "setup", "com", 1), kBaudRate);
    }
    SleepMs(kSettleMs);
    int foundPort = -1;
    WakeUpResult wakeUp = WakeUp(search, &foundPort);
    if (wakeUp == WakeUpResult::Cancelled) {
        result.cancelled = true;
        return result;
    }
    if (wakeUp == WakeUpResult::NoAnswer) {
        m_Port.Close();
        result.failure = kNoRadioMessage;
        return result;
    }
    uint8_t identification[kIdentificationSize];
    int count = ExchangeFrame(m_Port, kCable, &kIdentificationRequest, 1, identification,
                              kIdentificationSize, kIdentificationMs)
                    .count;
    if (count != kIdentificationSize) {
        m_Port.Close();
        result.failure = count == 0 ? kNoRadioMessage : kWrongRadioMessage;
        return result;
    }
    ExchangeForByte(m_Port, kCable, &kAck, 1, kShortAnswerMs);
    if (foundPort > 0) {
        result.warning = RememberPort(foundPort);
    }
    result.connected = true;
    return result;
}

bool TestModeLink::Cancelled() const {
    return m_Cancel != nullptr && m_Cancel->load(std::memory_order_acquire) != 0;
}

TestModeLink::WakeUpResult TestModeLink::WakeUp(bool search, int* foundPort) {
    for (int searchPort = 1;; ++searchPort) {
        for (int attempt = 0; m_Port.IsOpen() && attempt < kWakeUpTries; ++attempt) {
            if (Cancelled()) {
                return WakeUpResult::Cancelled;
            }
            if (ExchangeForByte(m_Port, kCable, kWakeUpFrame, sizeof kWakeUpFrame,
                                kWakeUpAnswerMs) == kAck) {
                return WakeUpResult::Answered;
            }
        }
        if (!search) {
            return WakeUpResult::NoAnswer;
        }
        if (Cancelled()) {
            return WakeUpResult::Cancelled;
        }
        m_Port.Close();
        if (searchPort >= kSearchEnd) {
            return WakeUpResult::NoAnswer;
        }
        if (m_Port.Open(searchPort, kBaudRate)) {
            SleepMs(kSettleMs);
            *foundPort = searchPort;
        }
    }
}

std::string TestModeLink::RememberPort(int foundPort) {
    std::string error;
    if (WriteProfileString(m_SettingsPath, "setup", "com", std::to_string(foundPort), &error)) {
        return {};
    }
    return "The radio answered on COM" + std::to_string(foundPort) +
           " but the port could not be remembered: " + error;
}

bool TestModeLink::ReadBlock(int address, RadioImage& image) {
    uint8_t request[] = {kReadCommand, 0, 0, kTestBlockSize};
    SetAddress(request, address);
    uint8_t answer[kFrameSize];
    if (ExchangeFrame(m_Port, kCable, request, sizeof request, answer, kFrameSize, kBlockAnswerMs)
            .count != kFrameSize) {
        return false;
    }
    std::memcpy(image.bytes.data() + address, answer + 4, kTestBlockSize);
    ExchangeForByte(m_Port, kCable, &kAck, 1, kShortAnswerMs);
    return true;
}

bool TestModeLink::WriteBlock(int address, const RadioImage& image) {
    uint8_t frame[kFrameSize] = {kDataCommand, 0, 0, kWriteCount};
    SetAddress(frame, address);
    std::memcpy(frame + 4, image.bytes.data() + address, kTestBlockSize);
    return ExchangeForByte(m_Port, kCable, frame, kFrameSize, kWriteAnswerMs) == kAck;
}

void TestModeLink::SendAdjust(const AdjustFrame& frame) {
    ExchangeForByte(m_Port, kCable, frame.data(), static_cast<int>(frame.size()), kShortAnswerMs);
}

void TestModeLink::SendEnd() {
    ExchangeForByte(m_Port, kCable, &kEndCommand, 1, kShortAnswerMs);
}

void TestModeLink::SendEndWithoutAnswer() {
    m_Port.WriteByte(kEndCommand, 1);
}
