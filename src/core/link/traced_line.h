// SPDX-License-Identifier: GPL-3.0-or-later
// A line that tells each frame it carries, for a cable that misbehaves: every write as it goes
// out and the bytes that came in after it, each with the time since the trace began. Used from
// one thread at a time, as the exchange's worker uses its line.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "link/cable_line.h"

// One line of the trace, without its newline: "  0.012 > 46 56 4F 47 52 41 4D".
using TraceSink = std::function<void(const std::string& line)>;

class TracedLine : public CableLine {
public:
    // Times are told from start, so that the traces of one run's exchanges share a clock.
    TracedLine(CableLine& line, TraceSink sink,
               std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now());
    ~TracedLine() override;

    bool Open(int port, int baudRate, std::string* error) override;
    bool OpenDevice(const std::string& path, int baudRate, std::string* error) override;
    void Close() override;
    bool IsOpen() const override { return m_Line.IsOpen(); }
    int Write(const uint8_t* bytes, int count, int leadDelayMs, const CancelFlag* cancel) override;
    int Read(uint8_t* buffer, int count, int timeoutMs) override;
    void Pause(int milliseconds) override { m_Line.Pause(milliseconds); }

    // What came in since the last write, told now.
    void Flush();

private:
    std::string Stamp(std::chrono::steady_clock::time_point at) const;
    void Tell(std::chrono::steady_clock::time_point at, const std::string& what);

    CableLine& m_Line;
    TraceSink m_Sink;
    const std::chrono::steady_clock::time_point m_Start;
    // Bytes received since the last write, and when the first of them came.
    std::vector<uint8_t> m_Received;
    std::chrono::steady_clock::time_point m_ReceivedAt;
};

// "46 56 4F": bytes as the trace shows them.
std::string HexBytes(const uint8_t* bytes, int count);
