// The programming cable's serial port: raw 8N1, time-limited reads, held exclusively.
// One object serves the transfer worker, test mode and the port dialog, one at a time;
// it has no lock of its own.
#pragma once

#include <cstdint>
#include <string>

// The device behind port number n: ports/COMn beside the program when that entry exists
// (a link to any terminal), else /dev/ttyUSB<n-1>.
std::string ComPortDevicePath(int n);

class CSerialPort {
public:
    CSerialPort() = default;
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens port n (see ComPortDevicePath). False only when the device cannot be opened or
    // is held by another program; the object then stays closed and error says why.
    bool Open(int port, int baudRate, std::string* error = nullptr);
    bool OpenDevice(const std::string& path, int baudRate, std::string* error = nullptr);

    void SetBaudRate(int baudRate);

    // Sleeps leadDelayMs, then writes all count bytes; returns the number written.
    int Write(const uint8_t* bytes, int count, int leadDelayMs);
    int WriteByte(uint8_t byte, int leadDelayMs);

    // Waits up to timeoutMs for count bytes and returns as soon as they are all there; makes
    // at least one attempt. Returns the number received (0..count).
    int Read(uint8_t* buffer, int count, int timeoutMs);
    // The next byte (0..255) within timeoutMs, or -1.
    int ReadByte(int timeoutMs);

    void Close();
    bool IsOpen() const { return m_Fd >= 0; }
    const std::string& DevicePath() const { return m_DevicePath; }

private:
    void Configure(int baudRate);

    int m_Fd = -1;
    std::string m_DevicePath;
};
