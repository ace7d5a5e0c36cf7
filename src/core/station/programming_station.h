// SPDX-License-Identifier: GPL-3.0-or-later
// The programming station: one image written to radio after radio on several cables at once,
// each cable on its own worker, every radio read back, compared and logged; or, checking only,
// every radio read and compared with the image, never written. Front ends follow
// it by polling Status and TakeEvents; nothing here waits on them or words a message for them.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "station/radio_probe.h"
#include "station/radio_watch.h"
#include "station/station_log.h"
#include "station/station_radio.h"

struct CableStatus {
    CablePhase phase = CablePhase::WaitingForConfirm;
    int progress = 0;
    int radios = 0;
    int okRadios = 0;
    // The result of the cable's latest radio, none before the first.
    std::optional<RadioResult> last;
};

enum class StationEventKind {
    // The cable waits for the user to put the next radio on and confirm.
    WaitingForConfirm,
    // Confirmed, but no radio answered the wake-up.
    NoRadioAnswered,
    // The radio is done; record says how.
    RadioDone,
    // The radio just done still answers; the cable waits for it to go.
    WaitingForUnplug,
    // The radio just done still answers long after it was done: it was not unplugged, or
    // the next radio took its place too quickly to be told apart. record is the radio done.
    StillAnswering,
    // The cable itself went away (its adapter was pulled); it takes no more radios.
    CableGone,
    // A radio's line could not go into the log; the station stops taking radios.
    LogFailed,
    // The next radio's PTT ID code would not fit the radio; the station stops before that
    // radio, whose number is record's.
    CodeWouldNotFit,
    // The cable takes no more radios.
    CableStopped,
};

struct StationEvent {
    StationEventKind kind;
    size_t cable = 0;
    RadioRecord record;
    std::string error;
};

enum class CableOpening { Opened, NamedTwice, CannotOpen };

class ProgrammingStation {
public:
    // image is copied: the file it came from may change on disk during the run. log may be
    // closed (no file); it must outlive the station.
    ProgrammingStation(const StationImage& image, StationOptions options, StationLog& log);
    // Abandons any radio still being written and waits for every worker.
    ~ProgrammingStation();
    ProgrammingStation(const ProgrammingStation&) = delete;
    ProgrammingStation& operator=(const ProgrammingStation&) = delete;

    // Opens every cable exclusively before anything is sent: a message, and none
    // kept open, when one is missing, in use, not a serial port or named twice.
    CableOpening OpenCables(const std::vector<std::string>& devices, std::string* error);
    // Starts one worker per cable.
    void Start();
    // The user says the next radio is on this cable (ignored unless it waits for that).
    void Confirm(size_t cable);
    // No more Confirm will come (the terminal closed): a cable stops when it would wait for one.
    void EndConfirmations();
    // Takes no more radios; with abandon, radios being written are cancelled at a block
    // boundary, else they are finished first.
    void Stop(bool abandon);
    // Every worker has returned.
    bool Finished() const;

    size_t CableCount() const { return m_Cables.size(); }
    const std::string& CableName(size_t cable) const;
    CableStatus Status(size_t cable) const;
    std::vector<StationEvent> TakeEvents();
    std::vector<RadioRecord> Records() const;

private:
    struct Cable;

    void RunCable(Cable& cable);
    bool WaitForRadio(Cable& cable);
    bool WaitForUnplug(Cable& cable, const RadioRecord& done);
    // The automatic mode's watch of the cable: its probe, and the station's wait.
    RadioWatch Watch(Cable& cable, CableType type);
    // Probes the cable's radio; a cable that went away reads as Cancelled and is reported.
    ProbeResult Probe(Cable& cable, CableType type, int tries);
    // Whether the cable went away; reported the first time it is seen.
    bool CheckGone(Cable& cable);
    // Waits milliseconds unless the station stops first; false when it stops.
    bool Sleep(int milliseconds);
    bool WaitForConfirm(Cable& cable);
    // The radio number to give the next radio, or 0 once the count is reached.
    int ClaimRadio();
    bool LimitReached() const;
    void Finish(Cable& cable, const RadioRecord& record);
    void Post(StationEvent event);

    StationImage m_Image;
    StationOptions m_Options;
    StationLog& m_Log;
    std::vector<std::unique_ptr<Cable>> m_Cables;

    // Shared with the cables' waits and probes as their cancel flag.
    std::atomic<int32_t> m_Stopping{0};
    std::atomic<int32_t> m_Abandon{0};
    bool m_ConfirmationsEnded = false;
    std::atomic<int> m_Claimed{0};
    // The log's last radio number when the run started: this run's numbers go on from it.
    int m_NumberBase = 0;

    mutable std::mutex m_Mutex;
    std::condition_variable m_Changed;
    std::vector<StationEvent> m_Events;
    std::vector<RadioRecord> m_Records;
};
