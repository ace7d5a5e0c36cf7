// The frames, pauses and time-outs that the clone exchange and test mode share on the
// programming cable.
#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

namespace clone_frames {

inline constexpr uint8_t kWakeUpFrame[] = {0x46, 0x56, 0x4F, 0x47, 0x52, 0x41, 0x4D};
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kIdentificationRequest = 0x02;
inline constexpr uint8_t kReadCommand = 0x52;
inline constexpr uint8_t kDataCommand = 0x57;
inline constexpr uint8_t kEndCommand = 0x62;

inline constexpr int kBaudRate = 9600;
inline constexpr int kIdentificationSize = 8;
inline constexpr int kWakeUpTries = 10;
// The search tries COM1 up to the port before this number.
inline constexpr int kSearchEnd = 256;

inline constexpr int kSettleMs = 100;
inline constexpr int kWakeUpAnswerMs = 50;
inline constexpr int kIdentificationMs = 500;
inline constexpr int kShortAnswerMs = 50;

inline void SleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace clone_frames
