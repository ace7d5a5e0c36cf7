// SPDX-License-Identifier: GPL-3.0-or-later
#include "station/programming_station.h"

#include <chrono>
#include <filesystem>
#include <utility>

#include "link/clone_frames.h"
#include "link/radio_connection.h"
#include "link/serial_port.h"
#include "link/transfer_job.h"
#include "link/worker_runner.h"

namespace {

std::string CanonicalName(const std::string& device) {
    std::error_code failure;
    std::filesystem::path canonical = std::filesystem::canonical(device, failure);
    return failure ? device : canonical.string();
}

}  // namespace

struct ProgrammingStation::Cable {
    size_t index = 0;
    std::string device;
    CSerialPort port;
    // The port as the cable's exchanges use it: traced when the station traces.
    std::optional<TracedLine> traced;
    TransferJob job;
    WorkerRunner worker;
    std::atomic<int32_t> phase{static_cast<int32_t>(CablePhase::WaitingForConfirm)};
    std::atomic<int32_t> radios{0};
    std::atomic<int32_t> okRadios{0};
    // -1 before the first radio, else a RadioResult.
    std::atomic<int32_t> last{-1};
    // Confirmations given and taken; under the station's mutex.
    int confirmations = 0;
    int confirmationsTaken = 0;
    // Only the cable's worker reads and sets it.
    bool gone = false;

    CableLine& Line() {
        if (traced) {
            return *traced;
        }
        return port;
    }

    void SetPhase(CablePhase value) {
        phase.store(static_cast<int32_t>(value), std::memory_order_release);
    }
};

ProgrammingStation::ProgrammingStation(const StationImage& image, StationOptions options,
                                       StationLog& log)
    : m_Image(image), m_Options(std::move(options)), m_Log(log) {}

ProgrammingStation::~ProgrammingStation() {
    Stop(true);
    for (auto& cable : m_Cables) {
        cable->worker.Join();
    }
}

CableOpening ProgrammingStation::OpenCables(const std::vector<std::string>& devices,
                                            std::string* error) {
    std::vector<std::unique_ptr<Cable>> cables;
    std::vector<std::string> canonicalNames;
    const auto traceStart = std::chrono::steady_clock::now();
    for (const std::string& device : devices) {
        std::string canonical = CanonicalName(device);
        for (size_t k = 0; k < canonicalNames.size(); ++k) {
            if (canonicalNames[k] == canonical) {
                *error = "the cable " + device + " is named twice";
                if (devices[k] != device) {
                    *error += " (also as " + devices[k] + ")";
                }
                return CableOpening::NamedTwice;
            }
        }
        canonicalNames.push_back(canonical);
        auto cable = std::make_unique<Cable>();
        cable->index = cables.size();
        cable->device = device;
        if (m_Options.traceFor) {
            cable->traced.emplace(cable->port, m_Options.traceFor(device), traceStart);
        }
        if (!cable->Line().OpenDevice(device, clone_frames::kBaudRate, error)) {
            return CableOpening::CannotOpen;
        }
        cables.push_back(std::move(cable));
    }
    m_Cables = std::move(cables);
    return CableOpening::Opened;
}

void ProgrammingStation::Start() {
    m_NumberBase = m_Log.LastRadioNumber();
    for (auto& cable : m_Cables) {
        Cable* running = cable.get();
        running->worker.Start([this, running] { RunCable(*running); });
    }
}

void ProgrammingStation::Confirm(size_t cable) {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (cable >= m_Cables.size()) {
            return;
        }
        Cable& confirmed = *m_Cables[cable];
        // Presses while it is busy are not kept for later: that would take a radio nobody put on.
        if (confirmed.phase.load(std::memory_order_acquire) ==
            static_cast<int32_t>(CablePhase::WaitingForConfirm)) {
            confirmed.confirmations = confirmed.confirmationsTaken + 1;
        }
    }
    m_Changed.notify_all();
}

void ProgrammingStation::EndConfirmations() {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_ConfirmationsEnded = true;
    }
    m_Changed.notify_all();
}

void ProgrammingStation::Stop(bool abandon) {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Stopping.store(1, std::memory_order_release);
        if (abandon) {
            m_Abandon.store(1, std::memory_order_release);
            for (auto& cable : m_Cables) {
                cable->job.Cancel();
            }
        }
    }
    m_Changed.notify_all();
}

bool ProgrammingStation::Finished() const {
    for (const auto& cable : m_Cables) {
        if (!cable->worker.Finished()) {
            return false;
        }
    }
    return true;
}

const std::string& ProgrammingStation::CableName(size_t cable) const {
    return m_Cables[cable]->device;
}

CableStatus ProgrammingStation::Status(size_t index) const {
    const Cable& cable = *m_Cables[index];
    CableStatus status;
    status.phase = static_cast<CablePhase>(cable.phase.load(std::memory_order_acquire));
    status.progress = cable.job.Progress();
    status.radios = cable.radios.load(std::memory_order_acquire);
    status.okRadios = cable.okRadios.load(std::memory_order_acquire);
    int32_t last = cable.last.load(std::memory_order_acquire);
    if (last >= 0) {
        status.last = static_cast<RadioResult>(last);
    }
    return status;
}

std::vector<StationEvent> ProgrammingStation::TakeEvents() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return std::exchange(m_Events, {});
}

std::vector<RadioRecord> ProgrammingStation::Records() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Records;
}

void ProgrammingStation::Post(StationEvent event) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Events.push_back(std::move(event));
}

bool ProgrammingStation::LimitReached() const {
    return m_Options.count > 0 && m_Claimed.load(std::memory_order_acquire) >= m_Options.count;
}

int ProgrammingStation::ClaimRadio() {
    int number = m_Claimed.fetch_add(1, std::memory_order_acq_rel) + 1;
    if (m_Options.count > 0 && number >= m_Options.count) {
        // The cables still waiting have nothing more to wait for.
        m_Changed.notify_all();
    }
    return m_Options.count > 0 && number > m_Options.count ? 0 : number;
}

bool ProgrammingStation::Sleep(int milliseconds) {
    std::unique_lock<std::mutex> lock(m_Mutex);
    return !m_Changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] {
        return m_Stopping.load(std::memory_order_acquire) != 0 || LimitReached();
    });
}

bool ProgrammingStation::WaitForConfirm(Cable& cable) {
    cable.SetPhase(CablePhase::WaitingForConfirm);
    Post({StationEventKind::WaitingForConfirm, cable.index, {}, {}});
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Changed.wait(lock, [this, &cable] {
        return m_Stopping.load(std::memory_order_acquire) != 0 || LimitReached() ||
               cable.confirmations > cable.confirmationsTaken || m_ConfirmationsEnded;
    });
    if (m_Stopping.load(std::memory_order_acquire) != 0 || LimitReached() ||
        cable.confirmations == cable.confirmationsTaken) {
        return false;
    }
    cable.confirmationsTaken = cable.confirmations;
    // Under the lock that Confirm takes: a second press before this radio is even found must
    // not be kept for the next one, or the same radio would be written twice.
    cable.SetPhase(CablePhase::LookingForRadio);
    return true;
}

bool ProgrammingStation::WaitForRadio(Cable& cable) {
    CableType type = CableFromSettings(m_Options.settingsPath);
    if (m_Options.autoNext) {
        cable.SetPhase(CablePhase::LookingForRadio);
        return !LimitReached() && AwaitNextRadio(Watch(cable, type), m_Options.probeIntervalMs) ==
                                      ProbeResult::Answered;
    }
    for (;;) {
        if (!WaitForConfirm(cable) || LimitReached()) {
            return false;
        }
        switch (Probe(cable, type, kProbeTries)) {
            case ProbeResult::Answered:
                return true;
            case ProbeResult::Cancelled:
                return false;
            case ProbeResult::Silent:
                break;
        }
        Post({StationEventKind::NoRadioAnswered, cable.index, {}, {}});
    }
}

RadioWatch ProgrammingStation::Watch(Cable& cable, CableType type) {
    return {[this, &cable, type](int tries) { return Probe(cable, type, tries); },
            [this](int milliseconds) { return Sleep(milliseconds); }};
}

ProbeResult ProgrammingStation::Probe(Cable& cable, CableType type, int tries) {
    ProbeResult result = ProbeRadio(cable.Line(), type, &m_Stopping, tries);
    return CheckGone(cable) ? ProbeResult::Cancelled : result;
}

bool ProgrammingStation::CheckGone(Cable& cable) {
    if (cable.port.IsGone() && !cable.gone) {
        cable.gone = true;
        Post({StationEventKind::CableGone, cable.index, {}, {}});
    }
    return cable.gone;
}

bool ProgrammingStation::WaitForUnplug(Cable& cable, const RadioRecord& done) {
    cable.SetPhase(CablePhase::WaitingForUnplug);
    Post({StationEventKind::WaitingForUnplug, cable.index, {}, {}});
    return AwaitUnplug(Watch(cable, CableFromSettings(m_Options.settingsPath)),
                       m_Options.stillAnsweringMs, [this, &cable, &done] {
                           Post({StationEventKind::StillAnswering, cable.index, done, {}});
                       });
}

void ProgrammingStation::RunCable(Cable& cable) {
    while (WaitForRadio(cable)) {
        int index = ClaimRadio();
        if (index == 0) {
            break;
        }
        std::optional<StationImage> image = StationImageFor(m_Image, m_Options, index - 1);
        if (!image) {
            RadioRecord refused;
            refused.cable = cable.device;
            refused.number = m_NumberBase + index;
            Post({StationEventKind::CodeWouldNotFit, cable.index, refused, {}});
            Stop(false);
            break;
        }
        int number = m_NumberBase + index;
        RadioSteps steps;
        steps.phase = [&cable](CablePhase phase) { cable.SetPhase(phase); };
        // Without the mark a station stopped before the line would leave this radio unnamed.
        steps.written = [this, &cable](const RadioRecord& written) {
            std::string error;
            if (!m_Log.MarkWritten(written, &error)) {
                Post({StationEventKind::LogFailed, cable.index, written, error});
                Stop(false);
            }
        };
        RadioRecord record = RunStationRadio(cable.Line(), cable.job, m_Options, cable.device,
                                             number, *image, m_Abandon, steps);
        Finish(cable, record);
        if (CheckGone(cable) || record.result == RadioResult::Cancelled ||
            m_Stopping.load(std::memory_order_acquire) != 0 || LimitReached()) {
            break;
        }
        if (m_Options.autoNext && !WaitForUnplug(cable, record)) {
            break;
        }
    }
    cable.SetPhase(CablePhase::Stopped);
    Post({StationEventKind::CableStopped, cable.index, {}, {}});
}

void ProgrammingStation::Finish(Cable& cable, const RadioRecord& record) {
    std::string error;
    bool logged = m_Log.Append(record, &error);
    cable.radios.fetch_add(1, std::memory_order_acq_rel);
    if (record.result == RadioResult::Ok) {
        cable.okRadios.fetch_add(1, std::memory_order_acq_rel);
    }
    cable.last.store(static_cast<int32_t>(record.result), std::memory_order_release);
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Records.push_back(record);
        m_Events.push_back({StationEventKind::RadioDone, cable.index, record, {}});
        if (!logged) {
            m_Events.push_back({StationEventKind::LogFailed, cable.index, record, error});
        }
    }
    // A radio nobody can find in the log is worse than a station that stops.
    if (!logged) {
        Stop(false);
    }
}
