// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/radio_connection.h"

#include <utility>

#include "config/setting_definitions.h"
#include "link/cable_line.h"
#include "link/clone_frames.h"

using namespace clone_frames;

CableType CableFromSettings(const std::string& settingsPath) {
    return settings::kRwType.Read(settingsPath) == 1 ? CableType::Direct : CableType::Echo;
}

std::string ConfiguredDevice(const std::string& settingsPath) {
    return settings::kDevice.Read(settingsPath);
}

std::string ConfiguredPortName(const std::string& settingsPath) {
    std::string device = ConfiguredDevice(settingsPath);
    return device.empty() ? "COM" + std::to_string(settings::kCom.Read(settingsPath)) : device;
}

RadioConnection::RadioConnection(CableLine& port, std::string settingsPath, CableRules rules,
                                 const CancelFlag* cancel)
    : m_Port(port), m_SettingsPath(std::move(settingsPath)), m_Rules(rules), m_Cancel(cancel) {}

bool RadioConnection::Cancelled() const {
    return m_Cancel != nullptr && m_Cancel->load(std::memory_order_acquire) != 0;
}

bool RadioConnection::Pause(int milliseconds) {
    return PauseUnlessCancelled(m_Port, milliseconds, m_Cancel);
}

ConnectResult RadioConnection::Connect() {
    m_FoundPort = -1;
    m_IdentificationLength = -1;
    m_Identification.clear();
    m_OpenError.clear();
    m_Warning.clear();
    // A device the user chose by name is the cable; trying COM1... after it would only find
    // some other device.
    std::string device = ConfiguredDevice(m_SettingsPath);
    m_Search = !m_Rules.fixedPort && device.empty() && settings::kSearchCom.Read(m_SettingsPath);
    if (!m_Port.IsOpen() && !m_Rules.fixedPort) {
        if (!device.empty()) {
            m_Port.OpenDevice(device, kBaudRate, &m_OpenError);
        } else {
            m_Port.Open(settings::kCom.Read(m_SettingsPath), kBaudRate, &m_OpenError);
        }
    }
    if (!Pause(kSettleMs)) {
        return ConnectResult::Cancelled;
    }
    ConnectResult result = WakeUp();
    if (result != ConnectResult::Connected) {
        return result;
    }
    if (Cancelled()) {
        return ConnectResult::Cancelled;
    }
    result = Identify();
    if (result == ConnectResult::Connected) {
        RememberFoundPort();
    }
    return result;
}

ConnectResult RadioConnection::WakeUp() {
    for (int searchPort = 1;; ++searchPort) {
        for (int attempt = 0; m_Port.IsOpen() && attempt < kWakeUpTries; ++attempt) {
            // A late answer to the try before must not pass for this one's.
            if (Cancelled() || (attempt > 0 && !DrainReceive(m_Port, m_Cancel))) {
                return ConnectResult::Cancelled;
            }
            uint8_t reply = 0;
            CableAnswer answer =
                ExchangeFrame(m_Port, m_Rules.cable, kWakeUpFrame, sizeof kWakeUpFrame, &reply, 1,
                              kWakeUpAnswerMs, m_Cancel);
            if (answer.cancelled) {
                return ConnectResult::Cancelled;
            }
            // No later frame could be understood either.
            if (answer.directEcho) {
                return ConnectResult::EchoCable;
            }
            if (answer.count == 1 && reply == kAck) {
                // The acknowledgement taken may be the late one of the try before; this
                // try's own would then arrive in front of the identification and shift it.
                if (attempt > 0 && !DrainReceive(m_Port, m_Cancel, kQuietAfterAnomalyMs)) {
                    return ConnectResult::Cancelled;
                }
                return ConnectResult::Connected;
            }
        }
        if (!m_Search) {
            return ConnectResult::NoRadio;
        }
        if (Cancelled()) {
            return ConnectResult::Cancelled;
        }
        m_Port.Close();
        if (searchPort >= kSearchEnd) {
            return ConnectResult::NoRadio;
        }
        if (m_Port.Open(searchPort, kBaudRate, nullptr)) {
            if (!Pause(kSettleMs)) {
                return ConnectResult::Cancelled;
            }
            m_FoundPort = searchPort;
            if (m_OnSearchPort) {
                m_OnSearchPort(searchPort);
            }
        }
    }
}

ConnectResult RadioConnection::Identify() {
    uint8_t identification[kIdentificationSize];
    CableAnswer answer =
        ExchangeFrame(m_Port, m_Rules.cable, &kIdentificationRequest, 1, identification,
                      kIdentificationSize, kIdentificationMs, m_Cancel);
    if (answer.cancelled) {
        return ConnectResult::Cancelled;
    }
    m_IdentificationLength = answer.count;
    m_Identification.assign(identification, identification + answer.count);
    int count = answer.count;
    if (m_Rules.identificationCountsEcho && m_Rules.cable == CableType::Echo && !answer.echoSeen) {
        count -= 1;
    }
    if (count <= 0) {
        return ConnectResult::NoRadio;
    }
    if (count != kIdentificationSize) {
        return ConnectResult::WrongRadio;
    }
    // Another model may begin with the same eight bytes: anything after them is its longer
    // identification, and answering it would program the wrong radio.
    bool cancelled = false;
    int trailing = 0;
    uint8_t extra = 0;
    while (trailing < kTrailingIdentificationLimit &&
           ReadUnlessCancelled(m_Port, &extra, 1, kIdentificationQuietMs, m_Cancel, &cancelled) ==
               1) {
        ++trailing;
    }
    if (cancelled) {
        return ConnectResult::Cancelled;
    }
    if (trailing > 0) {
        m_IdentificationLength += trailing;
        return ConnectResult::WrongRadio;
    }
    uint8_t dropped = 0;
    return ExchangeFrame(m_Port, m_Rules.cable, &kAck, 1, &dropped, 1, kShortAnswerMs, m_Cancel)
                   .cancelled
               ? ConnectResult::Cancelled
               : ConnectResult::Connected;
}

void RadioConnection::RememberFoundPort() {
    if (m_FoundPort <= 0) {
        return;
    }
    std::string error;
    if (!settings::kCom.Write(m_SettingsPath, std::to_string(m_FoundPort), &error)) {
        m_Warning = "The radio answered on COM" + std::to_string(m_FoundPort) +
                    " but the port could not be remembered: " + error;
    }
}
