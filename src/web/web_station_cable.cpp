// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_station_cable.h"

#include "link/clone_frames.h"
#include "link/radio_connection.h"

std::string WebStationCable::Open() {
    std::string error;
    m_Abandon.store(0, std::memory_order_release);
    return m_Line.OpenDevice({}, clone_frames::kBaudRate, &error) ? std::string() : error;
}

ProbeResult WebStationCable::Probe() {
    m_Phase = static_cast<int32_t>(CablePhase::LookingForRadio);
    return ProbeRadio(m_Line, CableFromSettings(m_SettingsPath), &m_Abandon);
}

RadioRecord WebStationCable::Run(const StationOptions& options, const std::string& cable,
                                 int number, const StationImage& image) {
    RadioSteps steps;
    steps.phase = [this](CablePhase phase) { m_Phase = static_cast<int32_t>(phase); };
    RadioRecord record =
        RunStationRadio(m_Line, m_Job, options, cable, number, image, m_Abandon, steps);
    m_Phase = static_cast<int32_t>(CablePhase::WaitingForConfirm);
    return record;
}
