// SPDX-License-Identifier: GPL-3.0-or-later
// One cable of the page's station, in a module of its own: the line opened once, the radio
// found by the wake-up as the station's probe finds it, then written, read back and compared
// as the station's worker does it. The page follows the job's fields and the phase in memory.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>

#include "link/transfer_job.h"
#include "station/radio_probe.h"
#include "station/station_radio.h"
#include "web_serial_line.h"

class WebStationCable {
public:
    WebStationCable(int line, std::string settingsPath)
        : m_Line(line), m_SettingsPath(std::move(settingsPath)) {}

    const TransferJob& Job() const { return m_Job; }
    const int32_t* Phase() const { return &m_Phase; }
    // Set by the page to abandon the radio being written, at a block boundary.
    const std::atomic<int32_t>* Abandon() const { return &m_Abandon; }

    // "" or why the port would not open.
    std::string Open();
    ProbeResult Probe();
    RadioRecord Run(const StationOptions& options, const std::string& cable, int number,
                    const StationImage& image);
    void Close() { m_Line.Close(); }

private:
    WebSerialLine m_Line;
    std::string m_SettingsPath;
    TransferJob m_Job;
    int32_t m_Phase = static_cast<int32_t>(CablePhase::WaitingForConfirm);
    std::atomic<int32_t> m_Abandon{0};
};
