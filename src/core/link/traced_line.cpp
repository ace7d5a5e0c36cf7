// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/traced_line.h"

#include <cstdio>

namespace {

std::string Opened(bool opened, const std::string& what, const std::string* error) {
    return opened ? "open " + what : "open " + what + " failed: " + (error ? *error : "");
}

}  // namespace

std::string HexBytes(const uint8_t* bytes, int count) {
    std::string text;
    for (int k = 0; k < count; ++k) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", bytes[k]);
        // Appended piece by piece: the optimised build warns falsely on "" + string.
        if (k > 0) {
            text += ' ';
        }
        text += hex;
    }
    return text;
}

TracedLine::TracedLine(CableLine& line, TraceSink sink, std::chrono::steady_clock::time_point start)
    : m_Line(line), m_Sink(std::move(sink)), m_Start(start) {}

TracedLine::~TracedLine() {
    Flush();
}

bool TracedLine::Open(int port, int baudRate, std::string* error) {
    Flush();
    bool opened = m_Line.Open(port, baudRate, error);
    Tell(std::chrono::steady_clock::now(), Opened(opened, "COM" + std::to_string(port), error));
    return opened;
}

bool TracedLine::OpenDevice(const std::string& path, int baudRate, std::string* error) {
    Flush();
    bool opened = m_Line.OpenDevice(path, baudRate, error);
    Tell(std::chrono::steady_clock::now(), Opened(opened, path, error));
    return opened;
}

void TracedLine::Close() {
    Flush();
    m_Line.Close();
    Tell(std::chrono::steady_clock::now(), "close");
}

int TracedLine::Write(const uint8_t* bytes, int count, int leadDelayMs, const CancelFlag* cancel) {
    Flush();
    int sent = m_Line.Write(bytes, count, leadDelayMs, cancel);
    std::string what = "> " + HexBytes(bytes, sent);
    if (sent < count) {
        what += " (" + std::to_string(sent) + " of " + std::to_string(count) + " bytes sent)";
    }
    Tell(std::chrono::steady_clock::now(), what);
    return sent;
}

int TracedLine::Read(uint8_t* buffer, int count, int timeoutMs) {
    int received = m_Line.Read(buffer, count, timeoutMs);
    if (received > 0) {
        if (m_Received.empty()) {
            m_ReceivedAt = std::chrono::steady_clock::now();
        }
        m_Received.insert(m_Received.end(), buffer, buffer + received);
    }
    return received;
}

void TracedLine::Flush() {
    if (!m_Received.empty()) {
        Tell(m_ReceivedAt, "< " + HexBytes(m_Received.data(), static_cast<int>(m_Received.size())));
        m_Received.clear();
    }
}

std::string TracedLine::Stamp(std::chrono::steady_clock::time_point at) const {
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(at - m_Start);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%4lld.%06lld",
                  static_cast<long long>(micros.count() / 1000000),
                  static_cast<long long>(micros.count() % 1000000));
    return stamp;
}

void TracedLine::Tell(std::chrono::steady_clock::time_point at, const std::string& what) {
    m_Sink(Stamp(at) + ' ' + what);
}
