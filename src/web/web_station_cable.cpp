// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_station_cable.h"

#include <algorithm>

#include "link/clone_frames.h"
#include "link/radio_connection.h"
#include "station/radio_watch.h"

namespace {

// A Stop is seen this soon in a wait; each slice is a timer of the page's, never a spin.
constexpr int kSleepSliceMs = 50;

}  // namespace

std::string WebStationCable::Open() {
    std::string error;
    m_Abandon.store(0, std::memory_order_release);
    m_Stop.store(0, std::memory_order_release);
    return m_Line.OpenDevice({}, clone_frames::kBaudRate, &error) ? std::string() : error;
}

ProbeResult WebStationCable::Probe() {
    m_Phase = static_cast<int32_t>(CablePhase::LookingForRadio);
    return ProbeRadio(m_Line, CableFromSettings(m_SettingsPath), &m_Abandon);
}

RadioRecord WebStationCable::Run(const StationOptions& options, const std::string& cable,
                                 int number, const StationImage& image,
                                 const std::function<void(const RadioRecord&)>& written) {
    RadioSteps steps;
    steps.phase = [this](CablePhase phase) { m_Phase = static_cast<int32_t>(phase); };
    steps.written = written;
    RadioRecord record =
        RunStationRadio(m_Line, m_Job, options, cable, number, image, m_Abandon, steps);
    m_Phase = static_cast<int32_t>(CablePhase::WaitingForConfirm);
    return record;
}

bool WebStationCable::Sleep(int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += kSleepSliceMs) {
        if (m_Stop.load(std::memory_order_acquire) != 0) {
            return false;
        }
        m_Line.Pause(std::min(kSleepSliceMs, milliseconds - waited));
    }
    return m_Stop.load(std::memory_order_acquire) == 0;
}

void WebStationCable::RunAutomatic(const std::string& cable, const AutomaticSteps& steps) {
    const CableType type = CableFromSettings(m_SettingsPath);
    const RadioWatch watch{
        [this, type](int tries) { return ProbeRadio(m_Line, type, &m_Stop, tries); },
        [this](int milliseconds) { return Sleep(milliseconds); }};
    // The station's own intervals, whatever a claim carries.
    const StationOptions timing;
    StationOptions options;
    StationImage image{};
    int number = 0;
    for (;;) {
        m_Phase = static_cast<int32_t>(CablePhase::LookingForRadio);
        if (AwaitNextRadio(watch, timing.probeIntervalMs) != ProbeResult::Answered ||
            !steps.claim(&options, &number, &image)) {
            break;
        }
        const RadioRecord record = Run(options, cable, number, image, steps.written);
        if (!steps.done(record) || record.result == RadioResult::Cancelled) {
            break;
        }
        m_Phase = static_cast<int32_t>(CablePhase::WaitingForUnplug);
        if (!AwaitUnplug(watch, timing.stillAnsweringMs,
                         [&steps, &record] { steps.stillAnswering(record); })) {
            break;
        }
    }
    m_Phase = static_cast<int32_t>(CablePhase::Stopped);
}
