// SPDX-License-Identifier: GPL-3.0-or-later
// The programming cable's serial port: raw 8N1, time-limited reads, held exclusively.
// One object serves the transfer worker, test mode and the port dialog, one at a time;
// it has no lock of its own.
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>

#include "link/cable_line.h"

// The device behind port number n: portsFolder/COMn when that entry exists (a link to any
// terminal), else /dev/ttyUSB<n-1>. An empty portsFolder names no links.
std::string ComPortDevicePath(const std::string& portsFolder, int n);

// Why what status describes cannot be a serial port (not a character device, or this
// program's own terminal such as /dev/tty); empty when it may be one.
std::string NotSerialPortReason(const struct stat& status);
// The same for an open descriptor: a character device that is no terminal (/dev/null,
// /dev/urandom) or the master side of a pseudo-terminal (/dev/ptmx).
std::string NotSerialPortReason(int fd);

class CSerialPort : public CableLine {
public:
    // portsFolder holds the ports/COMn links that name serial devices; the program's start-up
    // knows where it is.
    explicit CSerialPort(std::string portsFolder = {}) : m_PortsFolder(std::move(portsFolder)) {}
    ~CSerialPort() override;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens port n (see ComPortDevicePath). False only when the device cannot be opened or
    // is held by another program; the object then stays closed and error says why.
    bool Open(int port, int baudRate, std::string* error = nullptr) override;
    bool OpenDevice(const std::string& path, int baudRate, std::string* error = nullptr) override;

    void SetBaudRate(int baudRate);
    void SetPortsFolder(std::string portsFolder) { m_PortsFolder = std::move(portsFolder); }
    const std::string& PortsFolder() const { return m_PortsFolder; }

    int Write(const uint8_t* bytes, int count, int leadDelayMs, const CancelFlag* cancel) override;
    int Read(uint8_t* buffer, int count, int timeoutMs) override;
    void Pause(int milliseconds) override;

    void Close() override;
    bool IsOpen() const override { return m_Fd >= 0; }
    // The device went away while open (its adapter was pulled, the other end of a
    // pseudo-terminal closed): nothing more will ever come through it.
    bool IsGone() const { return m_Gone; }
    const std::string& DevicePath() const { return m_DevicePath; }

private:
    // Opens path; messages call it name.
    bool OpenNamed(const std::string& path, const std::string& name, int baudRate,
                   std::string* error);
    void Configure(int baudRate);

    std::string m_PortsFolder;
    int m_Fd = -1;
    std::string m_DevicePath;
    bool m_Gone = false;
    // How long one byte takes on the line at the configured speed; zero when unknown.
    std::chrono::nanoseconds m_ByteTime{0};
    // When the bytes written last have left the line, at the configured speed.
    std::chrono::steady_clock::time_point m_SentBy{};
};
