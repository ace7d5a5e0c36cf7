// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/virtual_radio_fixture.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

namespace halvex::test {

RadioMemory PatternMemory(int seed) {
    RadioMemory memory;
    for (size_t i = 0; i < memory.size(); ++i) {
        memory[i] = static_cast<uint8_t>((i * 31 + i / 256 + static_cast<size_t>(seed)) & 0xFF);
    }
    return memory;
}

size_t CountOf(const Bytes& haystack, const Bytes& needle) {
    size_t count = 0;
    for (auto at = haystack.begin();
         (at = std::search(at, haystack.end(), needle.begin(), needle.end())) != haystack.end();
         ++at) {
        ++count;
    }
    return count;
}

VirtualRadioOptions RadioLine(bool echo, bool pace9600) {
    VirtualRadioOptions options;
    options.echo = echo;
    options.pace9600 = pace9600;
    return options;
}

bool SameRange(const uint8_t* a, const uint8_t* b, size_t from, size_t to) {
    return std::equal(a + from, a + to, b + from);
}

std::optional<Bytes> ReceivedBeforeMarker(const VirtualRadio& radio, const std::string& path) {
    // No frame of the radio's begins with this byte, so it is recorded and ignored.
    constexpr uint8_t kMarker = 0xA5;
    CSerialPort port;
    if (!port.OpenDevice(path, 9600) || port.WriteByte(kMarker, 0) != 1) {
        return std::nullopt;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (Bytes received = radio.ReceivedBytes(); std::chrono::steady_clock::now() < deadline;
         received = radio.ReceivedBytes()) {
        if (!received.empty() && received.back() == kMarker) {
            received.pop_back();
            return received;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return std::nullopt;
}

VirtualRadioFixture::VirtualRadioFixture(const std::string& name)
    : m_Folder("halvex-" + name), m_Port(m_Folder.PortsPath()) {}

VirtualRadioFixture::~VirtualRadioFixture() {
    m_Port.Close();
    m_Radio.Stop();
}

void WriteLinkSettings(const std::string& settingsPath, const LinkSettings& settings) {
    std::map<std::string, std::string> values = {{"searchcom", "0"},
                                                 {"rwtype", "1"},
                                                 {"com", "1"},
                                                 {"readtime", "500"},
                                                 {"writetime", "500"}};
    for (const Setting& setting : settings) {
        values[setting.key] = setting.value;
    }
    std::ofstream file(settingsPath, std::ios::trunc);
    file << "[setup]\r\n";
    for (const auto& [key, value] : values) {
        file << key << "=" << value << "\r\n";
    }
}

bool VirtualRadioFixture::StartRadio(const VirtualRadioOptions& options, const RadioMemory& memory,
                                     std::string* error) {
    m_Radio.SetMemory(memory);
    return m_Radio.Start(PortLink(kRadioPort), options, error);
}

Bytes VirtualRadioFixture::SentSince(size_t from) const {
    Bytes sent = m_Radio.ReceivedBytes();
    return from < sent.size() ? Bytes(sent.begin() + static_cast<long>(from), sent.end()) : Bytes();
}

}  // namespace halvex::test
