// SPDX-License-Identifier: GPL-3.0-or-later
// Bringing the radio into programming mode: the configured port opened, the wake-up with the
// port search, the identification and its acknowledgement, and a port the search found
// remembered as `com`. The clone exchange and test mode both connect through here and differ
// only by the cable rules they pass; neither closes the port on failure here, each caller
// ends the link its own way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/cable_exchange.h"

class CableLine;

struct CableRules {
    // How every answer is taken: the clone exchange follows `rwtype`, test mode always takes
    // the echo-tolerant rule.
    CableType cable = CableType::Direct;
    // The echo setting of the clone exchange always counts one byte of echo before the
    // identification, so a cable that did not echo comes out one short and is reported as
    // the wrong radio, as users know it. Test mode counts only what it received.
    bool identificationCountsEcho = false;
    // The port already open is the only one tried, and `com` is neither read nor written.
    bool fixedPort = false;
};

enum class ConnectResult {
    Connected,
    // No wake-up answer on any port tried, or no identification byte at all.
    NoRadio,
    // The identification did not have exactly its eight bytes: fewer, or more before the line
    // went quiet.
    WrongRadio,
    // The direct setting heard its own frame come back: the cable echoes.
    EchoCable,
    // The cancel flag was seen; the port is left as it was.
    Cancelled,
};

// The `rwtype` setting of settingsPath as a cable type.
CableType CableFromSettings(const std::string& settingsPath);

// The `device` setting: when not empty it is the port, and `com` and the search are not used.
std::string ConfiguredDevice(const std::string& settingsPath);
// What the status bar and messages call the configured port: the device's path or "COMn".
std::string ConfiguredPortName(const std::string& settingsPath);

class RadioConnection {
public:
    RadioConnection(CableLine& port, std::string settingsPath, CableRules rules,
                    const CancelFlag* cancel = nullptr);

    // Called each time the search opens another port, before it is tried.
    void OnSearchPort(std::function<void(int port)> handler) {
        m_OnSearchPort = std::move(handler);
    }

    ConnectResult Connect();

    // Why the configured port could not be opened; empty when it opened or was open.
    const std::string& OpenError() const { return m_OpenError; }
    // Whether the search was on for the last Connect.
    bool Searched() const { return m_Search; }
    // The port the search found the radio on and stored as `com`, or -1.
    int FoundPort() const { return m_FoundPort; }
    // A problem that did not stop the link, in words for the user; empty when none.
    const std::string& Warning() const { return m_Warning; }
    // The identification bytes the radio sent in the last Connect, echo excluded; -1 before
    // the identification was asked for.
    int IdentificationLength() const { return m_IdentificationLength; }
    // The identification bytes of the last Connect, as the answer held them; empty before.
    const std::vector<uint8_t>& Identification() const { return m_Identification; }

private:
    bool Cancelled() const;
    bool Pause(int milliseconds);
    ConnectResult WakeUp();
    ConnectResult Identify();
    void RememberFoundPort();

    CableLine& m_Port;
    std::string m_SettingsPath;
    CableRules m_Rules;
    const CancelFlag* m_Cancel;
    std::function<void(int)> m_OnSearchPort;
    bool m_Search = false;
    int m_FoundPort = -1;
    int m_IdentificationLength = -1;
    std::vector<uint8_t> m_Identification;
    std::string m_OpenError;
    std::string m_Warning;
};
