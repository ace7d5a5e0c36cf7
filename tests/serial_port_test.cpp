// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port over a pseudo-terminal pair whose master side plays the radio.
#include "link/serial_port.h"

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

using Clock = std::chrono::steady_clock;

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        int slave = -1;
        char name[256] = {};
        ASSERT_EQ(openpty(&m_Master, &slave, name, nullptr, nullptr), 0);
        ::close(slave);
        m_SlavePath = name;
    }
    void TearDown() override {
        if (m_Master >= 0) {
            ::close(m_Master);
        }
    }

    void SendFromRadio(const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(::write(m_Master, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }

    std::vector<uint8_t> ReceiveAtRadio(size_t count) {
        std::vector<uint8_t> bytes(count);
        size_t received = 0;
        while (received < count) {
            ssize_t result = ::read(m_Master, bytes.data() + received, count - received);
            if (result <= 0) {
                break;
            }
            received += static_cast<size_t>(result);
        }
        bytes.resize(received);
        return bytes;
    }

    int m_Master = -1;
    std::string m_SlavePath;
};

TEST_F(SerialPortTest, ReadStopsAsSoonAsTheCountIsComplete) {
    CSerialPort port;
    ASSERT_TRUE(port.OpenDevice(m_SlavePath, 9600));
    std::vector<uint8_t> frame(20);
    for (size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<uint8_t>(0xA0 + i);
    }
    std::thread radio([&] {
        SendFromRadio({frame.begin(), frame.begin() + 8});
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        SendFromRadio({frame.begin() + 8, frame.end()});
    });
    // A read that waited out this time-out would outlast the test's own limit.
    uint8_t buffer[20] = {};
    int received = port.Read(buffer, 20, 10 * 60 * 1000);
    radio.join();
    ASSERT_EQ(received, 20);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 20), frame);
}

TEST_F(SerialPortTest, ShortAnswerComesBackAfterTheTimeOut) {
    CSerialPort port;
    ASSERT_TRUE(port.OpenDevice(m_SlavePath, 9600));
    SendFromRadio({0x52, 0x08, 0x00, 0x10});
    uint8_t buffer[20] = {};
    Clock::time_point start = Clock::now();
    int received = port.Read(buffer, 20, 100);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100));
    ASSERT_EQ(received, 4);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 4),
              (std::vector<uint8_t>{0x52, 0x08, 0x00, 0x10}));

    // Bytes beyond the count wait for the next read.
    SendFromRadio({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(port.Read(buffer, 4, 1000), 4);
    EXPECT_EQ(port.Read(buffer, 20, 50), 2);
    EXPECT_EQ(buffer[0], 5);
    EXPECT_EQ(buffer[1], 6);
}

// A read that starts while its frame is still leaving the line takes the answer whenever it
// comes: before the frame could have left, around the time the long wait wakes first, or
// later. A missing answer and a time-out shorter than the line's time still end the read.
TEST_F(SerialPortTest, AnswerToAFrameStillOnTheLineIsTakenWheneverItComes) {
    struct Case {
        int answerAfterMs;  // -1: never
        int timeoutMs;
        int expected;
    };
    const Case cases[] = {{0, 500, 1},  {20, 500, 1}, {21, 500, 1},
                          {60, 500, 1}, {-1, 100, 0}, {30, 5, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE("answer after " + std::to_string(c.answerAfterMs) + " ms, time-out " +
                     std::to_string(c.timeoutMs) + " ms");
        CSerialPort port;
        ASSERT_TRUE(port.OpenDevice(m_SlavePath, 9600));
        const std::vector<uint8_t> frame(20, 0x57);
        ASSERT_EQ(port.Write(frame.data(), 20, 0, nullptr), 20);
        std::thread radio([&] {
            if (c.answerAfterMs >= 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(c.answerAfterMs));
                SendFromRadio({0x06});
            }
        });
        uint8_t reply = 0;
        Clock::time_point start = Clock::now();
        int received = port.Read(&reply, 1, c.timeoutMs);
        Clock::duration waited = Clock::now() - start;
        radio.join();
        EXPECT_EQ(ReceiveAtRadio(frame.size()), frame);
        ASSERT_EQ(received, c.expected);
        if (received == 1) {
            EXPECT_EQ(reply, 0x06);
        } else {
            EXPECT_GE(waited, std::chrono::milliseconds(c.timeoutMs));
        }
        // An answer after the time-out waits for the next read.
        if (c.answerAfterMs >= 0 && received == 0) {
            EXPECT_EQ(port.ReadByte(2000), 0x06);
        }
    }
}

TEST_F(SerialPortTest, ReadByteGivesEachByteThenMinusOne) {
    CSerialPort port;
    ASSERT_TRUE(port.OpenDevice(m_SlavePath, 9600));
    EXPECT_EQ(port.ReadByte(0), -1);
    SendFromRadio({0x06, 0xFF, 0x00});
    EXPECT_EQ(port.ReadByte(1000), 0x06);
    EXPECT_EQ(port.ReadByte(1000), 0xFF);
    EXPECT_EQ(port.ReadByte(1000), 0x00);
    Clock::time_point start = Clock::now();
    EXPECT_EQ(port.ReadByte(30), -1);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(30));
}

TEST_F(SerialPortTest, WriteWaitsTheLeadDelayAndSendsEverything) {
    CSerialPort port;
    ASSERT_TRUE(port.OpenDevice(m_SlavePath, 9600));
    std::vector<uint8_t> frame(3000);
    for (size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<uint8_t>(i * 7);
    }
    std::vector<uint8_t> received;
    std::thread radio([&] { received = ReceiveAtRadio(frame.size()); });
    Clock::time_point start = Clock::now();
    EXPECT_EQ(port.Write(frame.data(), static_cast<int>(frame.size()), 20, nullptr), 3000);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(20));
    radio.join();
    EXPECT_EQ(received, frame);
    EXPECT_EQ(port.WriteByte(0x62, 1), 1);
    EXPECT_EQ(ReceiveAtRadio(1), std::vector<uint8_t>{0x62});
}

TEST_F(SerialPortTest, PortIsHeldExclusivelyUntilClosed) {
    CSerialPort first;
    CSerialPort second;
    ASSERT_TRUE(first.OpenDevice(m_SlavePath, 9600));
    std::string error;
    EXPECT_FALSE(second.OpenDevice(m_SlavePath, 9600, &error));
    EXPECT_FALSE(second.IsOpen());
    EXPECT_NE(error.find("in use"), std::string::npos) << error;

    first.Close();
    first.Close();
    EXPECT_FALSE(first.IsOpen());
    EXPECT_TRUE(second.OpenDevice(m_SlavePath, 9600, &error)) << error;
    EXPECT_TRUE(second.IsOpen());
}

TEST_F(SerialPortTest, MissingDeviceIsReportedAndLeavesThePortClosed) {
    CSerialPort port;
    ASSERT_TRUE(port.OpenDevice(m_SlavePath, 9600));
    std::string error;
    EXPECT_FALSE(port.OpenDevice("/nonexistent/ttyHalvex", 9600, &error));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;

    // A closed port is silent for the whole time-out and sends nothing.
    uint8_t buffer[4] = {};
    Clock::time_point start = Clock::now();
    EXPECT_EQ(port.Read(buffer, 4, 20), 0);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(20));
    EXPECT_EQ(port.Write(buffer, 4, 0, nullptr), 0);
}

TEST_F(SerialPortTest, CancelEndsAWriteToADeviceThatTakesNoBytes) {
    CSerialPort port;
    ASSERT_TRUE(port.OpenDevice(m_SlavePath, 9600));
    // Nobody reads the master, so the line fills and then takes nothing more.
    std::vector<uint8_t> frame(1 << 20, 0x57);
    CancelFlag cancel{1};
    Clock::time_point start = Clock::now();
    int written = port.Write(frame.data(), static_cast<int>(frame.size()), 0, &cancel);
    // Unsliced, the write would wait out the 2 s stall limit first.
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_GT(written, 0);
    EXPECT_LT(written, static_cast<int>(frame.size()));
}

TEST_F(SerialPortTest, HungUpDeviceIsSilentUntilTheTimeOut) {
    CSerialPort port;
    ASSERT_TRUE(port.OpenDevice(m_SlavePath, 9600));
    ::close(m_Master);
    m_Master = -1;
    uint8_t buffer[20] = {};
    Clock::time_point start = Clock::now();
    EXPECT_EQ(port.Read(buffer, 20, 40), 0);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(40));
    EXPECT_EQ(port.ReadByte(0), -1);
}

TEST_F(SerialPortTest, PortNumbersMapToLinksInThePortsFolderOrUsbDevices) {
    halvex::test::TempFolder directory("halvex-ports");
    std::string ports = directory.File("ports");
    std::filesystem::create_directories(ports);
    std::filesystem::create_symlink(m_SlavePath, ports + "/COM3");

    EXPECT_EQ(ComPortDevicePath(ports, 3), ports + "/COM3");
    EXPECT_EQ(ComPortDevicePath(ports, 4), "/dev/ttyUSB3");
    EXPECT_EQ(ComPortDevicePath(ports, 12), "/dev/ttyUSB11");
    EXPECT_EQ(ComPortDevicePath("", 3), "/dev/ttyUSB2");

    CSerialPort port(ports);
    EXPECT_TRUE(port.Open(3, 9600));
    SendFromRadio({0x06});
    EXPECT_EQ(port.ReadByte(1000), 0x06);
}

}  // namespace
