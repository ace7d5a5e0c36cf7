// SPDX-License-Identifier: GPL-3.0-or-later
// The cable as the browser gives it: every call awaits the page's line object (Web Serial, or
// the virtual radio behind the same shape) through Asyncify, so the core's exchange runs on it
// unchanged. The module that runs an exchange is suspended in these calls and is called by
// nothing else meanwhile; its cancel flag is written straight into its memory.
#pragma once

#include <string>

#include "link/cable_line.h"

class WebSerialLine : public CableLine {
public:
    // line names the page's line object in the module's `halvexLines` map.
    // The exchange closes the line it opened: closing awaits the page, which no destructor can.
    explicit WebSerialLine(int line) : m_Line(line) {}

    // A browser port has no number: both open the port the page chose.
    bool Open(int port, int baudRate, std::string* error) override;
    bool OpenDevice(const std::string& path, int baudRate, std::string* error) override;
    void Close() override;
    bool IsOpen() const override { return m_Open; }
    int Write(const uint8_t* bytes, int count, int leadDelayMs, const CancelFlag* cancel) override;
    int Read(uint8_t* buffer, int count, int timeoutMs) override;
    void Pause(int milliseconds) override;
    // The browser's name for the last open's failure ("NetworkError"); "" after an open.
    const std::string& OpenFailureName() const { return m_OpenFailure; }

private:
    int m_Line;
    bool m_Open = false;
    std::string m_OpenFailure;
};
