// SPDX-License-Identifier: GPL-3.0-or-later
// One cable of the page's station, in a module of its own: the line opened once, the radio
// found by the wake-up as the station's probe finds it, then written, read back and compared
// (or only checked) as the station's worker does it; in the automatic mode radio after radio,
// each found and waited for to go by the station's own watch. The page follows the job's
// fields and the phase in memory, and stops the watch through the stop flag there.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "link/transfer_job.h"
#include "station/radio_probe.h"
#include "station/station_radio.h"
#include "web_serial_line.h"

// What the automatic mode asks of the document's module between two radios.
struct AutomaticSteps {
    // The next radio's options, number and image; false to take no more radios.
    std::function<bool(StationOptions* options, int* number, StationImage* image)> claim;
    // The radio's write ended whole, before its check.
    std::function<void(const RadioRecord& record)> written;
    // The radio done; false when the station takes no more radios.
    std::function<bool(const RadioRecord& record)> done;
    // The radio done still answers long after it was done; told once a radio.
    std::function<void(const RadioRecord& record)> stillAnswering;
};

class WebStationCable {
public:
    WebStationCable(int line, std::string settingsPath)
        : m_Line(line), m_SettingsPath(std::move(settingsPath)) {}

    const TransferJob& Job() const { return m_Job; }
    const int32_t* Phase() const { return &m_Phase; }
    // Set by the page to abandon the radio being written, at a block boundary.
    const std::atomic<int32_t>* Abandon() const { return &m_Abandon; }
    // Set by the page to end the automatic mode's watch; a radio being written finishes.
    const std::atomic<int32_t>* Stop() const { return &m_Stop; }

    // "" or why the port would not open.
    std::string Open();
    ProbeResult Probe();
    // written is told when the radio's write ended whole, before its check.
    RadioRecord Run(const StationOptions& options, const std::string& cable, int number,
                    const StationImage& image,
                    const std::function<void(const RadioRecord&)>& written);
    // The automatic mode: radio after radio until the station stops or takes no more.
    void RunAutomatic(const std::string& cable, const AutomaticSteps& steps);
    void Close() { m_Line.Close(); }

private:
    // Waits milliseconds on the page's timers; false once the stop flag is set.
    bool Sleep(int milliseconds);

    WebSerialLine m_Line;
    std::string m_SettingsPath;
    TransferJob m_Job;
    int32_t m_Phase = static_cast<int32_t>(CablePhase::WaitingForConfirm);
    std::atomic<int32_t> m_Abandon{0};
    std::atomic<int32_t> m_Stop{0};
};
