// SPDX-License-Identifier: GPL-3.0-or-later
// The line to the radio as the clone exchange sees it: bytes out, time-limited reads and the
// pauses the protocol makes. CSerialPort is the line the program uses; the fuzz target plays
// the radio through a line of its own whose time-outs pass at once.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

using CancelFlag = std::atomic<int32_t>;

// The longest single wait between two looks at the cancel flag.
inline constexpr int kWaitSliceMs = 50;

class CableLine {
public:
    virtual ~CableLine() = default;

    // Opens port n at baudRate; false (and closed) when it cannot be opened.
    virtual bool Open(int port, int baudRate, std::string* error) = 0;
    // Opens the device at path, whatever the port numbers map to.
    virtual bool OpenDevice(const std::string& path, int baudRate, std::string* error) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Waits leadDelayMs, then sends all count bytes; returns the number sent. A device that
    // stops taking bytes ends the write early, and so does the cancel flag when given.
    virtual int Write(const uint8_t* bytes, int count, int leadDelayMs,
                      const CancelFlag* cancel) = 0;
    // Waits up to timeoutMs for count bytes and returns as soon as they are all there; makes
    // at least one attempt. Returns the number received (0..count).
    virtual int Read(uint8_t* buffer, int count, int timeoutMs) = 0;
    // Lets milliseconds pass on the line's clock.
    virtual void Pause(int milliseconds) = 0;

    int WriteByte(uint8_t byte, int leadDelayMs, const CancelFlag* cancel = nullptr) {
        return Write(&byte, 1, leadDelayMs, cancel);
    }
    // The next byte (0..255) within timeoutMs, or -1.
    int ReadByte(int timeoutMs) {
        uint8_t byte = 0;
        return Read(&byte, 1, timeoutMs) == 1 ? byte : -1;
    }
};
