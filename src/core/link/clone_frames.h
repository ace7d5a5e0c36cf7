// SPDX-License-Identifier: GPL-3.0-or-later
// The frames, pauses and time-outs that the clone exchange and test mode share on the
// programming cable.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "codeplug/radio_image.h"

namespace clone_frames {

inline constexpr uint8_t kWakeUpFrame[] = {0x46, 0x56, 0x4F, 0x47, 0x52, 0x41, 0x4D};
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kIdentificationRequest = 0x02;
inline constexpr uint8_t kReadCommand = 0x52;
inline constexpr uint8_t kDataCommand = 0x57;
inline constexpr uint8_t kEndCommand = 0x62;
// Test mode's live adjustment of one value.
inline constexpr uint8_t kAdjustCommand = 0x67;

inline constexpr int kBlockSize = 16;
inline constexpr int kReadRequestSize = 4;
inline constexpr int kDataFrameSize = 4 + kBlockSize;
// The count byte of a clone frame; test mode's write frame carries its own.
inline constexpr uint8_t kCloneCount = kBlockSize;

// The range a clone exchange moves; below it the radio keeps what only it may change.
inline constexpr int kCloneFirstAddress = static_cast<int>(kCloneBegin);
inline constexpr int kCloneEndAddress = static_cast<int>(kImageSize);

// The line speed of every exchange with the radio.
inline constexpr int kBaudRate = 9600;
inline constexpr int kIdentificationSize = 8;
inline constexpr int kWakeUpTries = 10;
// The search tries COM1 up to the port before this number.
inline constexpr int kSearchEnd = 256;

inline constexpr int kSettleMs = 100;
inline constexpr int kWakeUpAnswerMs = 50;
inline constexpr int kIdentificationMs = 500;
// How long the line must stay quiet after the identification's last byte before it counts as
// complete: a few byte times, and more than a USB adapter's 16 ms packet latency.
inline constexpr int kIdentificationQuietMs = 20;
// Bytes after the identification counted at most, so a babbling line cannot hold the link.
inline constexpr int kTrailingIdentificationLimit = 256;
inline constexpr int kShortAnswerMs = 50;

using ReadRequestFrame = std::array<uint8_t, kReadRequestSize>;
using DataFrameBytes = std::array<uint8_t, kDataFrameSize>;

// Every frame to the radio opens with its command, its address high byte first, and a count.
inline void SetFrameHead(uint8_t* frame, uint8_t command, int address, uint8_t count) {
    frame[0] = command;
    frame[1] = static_cast<uint8_t>(address >> 8);
    frame[2] = static_cast<uint8_t>(address & 0xFF);
    frame[3] = count;
}

inline ReadRequestFrame ReadRequest(int address) {
    ReadRequestFrame frame{};
    SetFrameHead(frame.data(), kReadCommand, address, kCloneCount);
    return frame;
}

// Whether answer holds the whole data frame for request: a slipped or stray frame fails this.
inline bool AnswersRequest(const uint8_t* answer, int count, const ReadRequestFrame& request) {
    return count == kDataFrameSize && answer[0] == kDataCommand && answer[1] == request[1] &&
           answer[2] == request[2];
}

// The data frame for the block at address, taken from image (indexed by radio address).
inline DataFrameBytes DataFrame(int address, uint8_t count, const uint8_t* image) {
    DataFrameBytes frame{};
    SetFrameHead(frame.data(), kDataCommand, address, count);
    std::memcpy(frame.data() + 4, image + address, kBlockSize);
    return frame;
}

}  // namespace clone_frames
