// SPDX-License-Identifier: GPL-3.0-or-later
// A program folder with setting.ini and a ports/ folder, the serial port that looks there, and
// a virtual radio answering on one of its ports: what the link tests run the real serial code
// against, with the radio's faults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/serial_port.h"
#include "sim/virtual_radio.h"
#include "support/module_folder.h"

namespace halvex::test {

using Bytes = std::vector<uint8_t>;

using Setting = SetupValue;
using LinkSettings = std::vector<SetupValue>;

// Writes section setup of settingsPath: the keys given over a search that is off, a direct
// cable on COM1 and 50 ms time-outs.
void WriteLinkSettings(const std::string& settingsPath, const LinkSettings& settings);

// Memory whose every block differs from its neighbours, so a shifted block shows.
RadioMemory PatternMemory(int seed);

// How often needle occurs in haystack, overlaps included.
size_t CountOf(const Bytes& haystack, const Bytes& needle);

VirtualRadioOptions RadioLine(bool echo, bool pace9600 = false);

bool SameRange(const uint8_t* a, const uint8_t* b, size_t from, size_t to);

// Everything radio received before a marker byte sent now through path: once the marker is
// there, nothing the program sent earlier can still be on its way. Empty optional when the
// marker cannot be sent or has not arrived within a generous deadline.
std::optional<Bytes> ReceivedBeforeMarker(const VirtualRadio& radio, const std::string& path);

class VirtualRadioFixture {
public:
    // The port the radio answers on unless a test starts it elsewhere.
    static constexpr int kRadioPort = 3;

    explicit VirtualRadioFixture(const std::string& name);
    ~VirtualRadioFixture();
    VirtualRadioFixture(const VirtualRadioFixture&) = delete;
    VirtualRadioFixture& operator=(const VirtualRadioFixture&) = delete;

    std::string SettingsPath() const { return m_Folder.SettingsPath(); }
    std::string PortsFolder() const { return m_Folder.PortsPath(); }
    std::string PortLink(int n) const { return m_Folder.PortLink(n); }

    void WriteSettings(const LinkSettings& settings) const {
        WriteLinkSettings(SettingsPath(), settings);
    }
    void AddMissingPort(int n) const { m_Folder.AddMissingPort(n); }

    // Starts the radio on kRadioPort with memory; false with a message when it cannot.
    bool StartRadio(const VirtualRadioOptions& options, const RadioMemory& memory,
                    std::string* error);
    // What the radio received after the first `from` bytes.
    Bytes SentSince(size_t from) const;

protected:
    ModuleFolder m_Folder;
    VirtualRadio m_Radio;
    CSerialPort m_Port;
};

}  // namespace halvex::test
