// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's answers keep their own frame bytes on purpose: written apart from the link's
// constants, they are an independent check that the program sends what the radio expects.
#include "sim/clone_responder.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr uint8_t kAck = 0x06;
constexpr uint8_t kIdentificationRequest = 0x02;
constexpr uint8_t kReadCommand = 0x52;
constexpr uint8_t kWriteCommand = 0x57;
constexpr uint8_t kAdjustCommand = 0x67;
constexpr uint8_t kEndCommand = 0x62;
constexpr uint8_t kBlockSize = 0x10;
// Test mode writes the whole memory with this count byte, still followed by 16 bytes.
constexpr uint8_t kTestModeBlockSize = 0x08;
constexpr std::array<uint8_t, 7> kWakeUpFrame = {0x46, 0x56, 0x4F, 0x47, 0x52, 0x41, 0x4D};
constexpr std::array<uint8_t, 8> kIdentification = {'H', 'R', 'Q', '8', '7', '0', 0x00, 0x01};
constexpr size_t kReadRequestLength = 4;
constexpr size_t kDataFrameLength = 20;
constexpr size_t kShortAnswerLength = 10;
// Looks like the start of a data frame, the worst a stray byte can be.
constexpr uint8_t kStrayByte = kWriteCommand;
constexpr int kAdjustBankLow = 0x0FE0;
constexpr int kAdjustBankHigh = 0x0FF0;

int FrameAddress(const std::vector<uint8_t>& frame) {
    return (frame[1] << 8) | frame[2];
}

// Read and write frames carry a count byte; a frame with any other count is ignored.
bool HasKnownCount(const std::vector<uint8_t>& frame) {
    switch (frame[0]) {
        case kReadCommand:
            return frame[3] == kBlockSize;
        case kWriteCommand:
            return frame[3] == kBlockSize || frame[3] == kTestModeBlockSize;
        default:
            return true;
    }
}

bool IsBlockInMemory(int address) {
    return address >= 0 && address + kBlockSize <= static_cast<int>(kImageSize);
}

// A fault with a count left fires for its block and uses up one count.
bool Fires(int block, int* times, int address) {
    if ((block != address && block != kAnyBlock) || *times <= 0) {
        return false;
    }
    --*times;
    return true;
}

}  // namespace

CloneResponder::CloneResponder(const VirtualRadioFaults& faults) : m_Faults(faults) {
    memory.fill(0xFF);
}

int CloneResponder::TakeAnswerDelayMs() {
    int delay = m_AnswerDelayMs;
    m_AnswerDelayMs = 0;
    return delay;
}

bool CloneResponder::TakeWriteCompleted() {
    bool completed = m_WriteCompleted;
    m_WriteCompleted = false;
    return completed;
}

bool CloneResponder::TakeBlockSessionEnded() {
    return std::exchange(m_BlockSessionEnded, false);
}

void CloneResponder::Feed(uint8_t byte, std::vector<uint8_t>* answer) {
    if (m_Frame.empty()) {
        Start(byte, answer);
    } else {
        Collect(byte, answer);
    }
}

void CloneResponder::Start(uint8_t byte, std::vector<uint8_t>* answer) {
    if (byte == kWakeUpFrame[0]) {
        m_Frame.push_back(byte);
        m_FrameLength = kWakeUpFrame.size();
        return;
    }
    // Outside programming mode the radio listens for nothing but the wake-up.
    if (!m_Programming) {
        return;
    }
    switch (byte) {
        case kIdentificationRequest:
            if (!m_Faults.silent) {
                for (int k = 0; k < m_Faults.identificationLength; ++k) {
                    answer->push_back(
                        k < static_cast<int>(kIdentification.size()) ? kIdentification[k] : 0xFF);
                }
            }
            return;
        case kAck:
            if (!m_Faults.silent) {
                answer->push_back(kAck);
            }
            return;
        case kEndCommand:
            if (!m_Faults.silent) {
                answer->push_back(kAck);
            }
            m_Programming = false;
            m_WriteCompleted = m_WriteCompleted || m_Changed;
            m_Changed = false;
            m_BlockSessionEnded = m_BlockSessionEnded || m_BlocksMoved;
            m_BlocksMoved = false;
            return;
        case kReadCommand:
            m_FrameLength = kReadRequestLength;
            break;
        case kWriteCommand:
        case kAdjustCommand:
            m_FrameLength = kDataFrameLength;
            break;
        default:
            return;
    }
    m_Frame.push_back(byte);
}

void CloneResponder::Collect(uint8_t byte, std::vector<uint8_t>* answer) {
    bool wakeUp = m_Frame[0] == kWakeUpFrame[0];
    if (wakeUp && byte != kWakeUpFrame[m_Frame.size()]) {
        // A broken wake-up may hide the start of the next frame in this very byte.
        m_Frame.clear();
        Start(byte, answer);
        return;
    }
    m_Frame.push_back(byte);
    if (m_Frame.size() < m_FrameLength) {
        return;
    }
    // A frame with an unknown count is still taken whole, so that its data bytes are
    // never mistaken for commands.
    if (!HasKnownCount(m_Frame)) {
        m_Frame.clear();
        return;
    }
    switch (m_Frame[0]) {
        case kReadCommand:
            AnswerRead(answer);
            break;
        case kWriteCommand:
            AnswerWrite(answer);
            break;
        case kAdjustCommand:
            AnswerAdjust(answer);
            break;
        default:
            AnswerWakeUp(answer);
            break;
    }
    m_Frame.clear();
}

void CloneResponder::AnswerWakeUp(std::vector<uint8_t>* answer) {
    if (m_Faults.ignoreWakeUps > 0) {
        --m_Faults.ignoreWakeUps;
        return;
    }
    m_Programming = true;
    if (!m_Faults.silent) {
        answer->push_back(kAck);
    }
}

void CloneResponder::AnswerRead(std::vector<uint8_t>* answer) {
    int address = FrameAddress(m_Frame);
    if (m_Faults.silent || !IsBlockInMemory(address)) {
        return;
    }
    m_BlocksMoved = true;
    int answered = address;
    if (Fires(m_Faults.wrongAddressBlock, &m_Faults.wrongAddressTimes, address)) {
        answered = (address + kBlockSize) % static_cast<int>(kImageSize);
    }
    size_t length = kDataFrameLength;
    if (Fires(m_Faults.shortAnswerBlock, &m_Faults.shortAnswerTimes, address)) {
        length = kShortAnswerLength;
    }
    uint8_t frame[kDataFrameLength] = {kWriteCommand, static_cast<uint8_t>(answered >> 8),
                                       static_cast<uint8_t>(answered & 0xFF), kBlockSize};
    std::memcpy(frame + 4, memory.data() + address, kBlockSize);
    answer->insert(answer->end(), frame, frame + length);
    if (Fires(m_Faults.strayByteBlock, &m_Faults.strayByteTimes, address)) {
        answer->push_back(kStrayByte);
    }
    if (Fires(m_Faults.lateAnswerBlock, &m_Faults.lateAnswerTimes, address)) {
        m_AnswerDelayMs = m_Faults.lateAnswerMs;
    }
}

void CloneResponder::AnswerWrite(std::vector<uint8_t>* answer) {
    int address = FrameAddress(m_Frame);
    if (!IsBlockInMemory(address) || Fires(m_Faults.noAckBlock, &m_Faults.noAckTimes, address)) {
        return;
    }
    m_BlocksMoved = true;
    if (address != m_Faults.unstoredBlock) {
        std::copy(m_Frame.begin() + 4, m_Frame.end(), memory.begin() + address);
        m_Changed = true;
    }
    if (!m_Faults.silent) {
        answer->push_back(kAck);
    }
}

void CloneResponder::AnswerAdjust(std::vector<uint8_t>* answer) {
    int bank = FrameAddress(m_Frame);
    uint8_t value = m_Frame[4];
    uint8_t item = m_Frame[5];
    if ((bank != kAdjustBankLow && bank != kAdjustBankHigh) || item >= kBlockSize) {
        return;
    }
    memory[bank + item] = value;
    m_Changed = true;
    if (!m_Faults.silent) {
        answer->push_back(kAck);
    }
}
