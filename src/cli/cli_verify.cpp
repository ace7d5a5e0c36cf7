// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli verify: one radio read and compared with a file, never written; the station's
// check of a single radio, worded as diff words two files.
#include <poll.h>

#include <iostream>
#include <optional>

#include "cli/cli_options.h"
#include "cli/cli_read_write.h"
#include "cli/cli_station.h"
#include "cli/cli_support.h"
#include "platform/terminal_text.h"

namespace {

constexpr int kPollMs = 50;

// The one radio the station takes, once it is done; none when no radio answered or the run
// was stopped first.
std::optional<RadioRecord> FollowStation(ProgrammingStation& station) {
    bool stopped = false;
    bool abandoned = false;
    while (!station.Finished()) {
        int interrupts = StationInterrupts();
        if (interrupts > 0 && !stopped) {
            station.Stop(false);
            stopped = true;
        }
        if (interrupts > 1 && !abandoned) {
            station.Stop(true);
            abandoned = true;
        }
        poll(nullptr, 0, kPollMs);
    }
    std::optional<RadioRecord> done;
    for (const StationEvent& event : station.TakeEvents()) {
        if (event.kind == StationEventKind::RadioDone) {
            done = event.record;
        }
    }
    return done;
}

}  // namespace

int RunVerifyCommand(const ParsedOptions& options) {
    std::string error;
    StationOptions stationOptions;
    if (!TakeStationOptions(options, &stationOptions, &error)) {
        return ReportFailure("verify: " + error);
    }
    stationOptions.checkOnly = true;
    stationOptions.count = 1;
    const std::string& path = options.Value(cli_option::kPgmFile);
    StationImage image{};
    if (!LoadStationImage(path, &image, &error)) {
        return ReportFailure("verify: " + error);
    }
    StationLog noLog;
    ProgrammingStation station(image, stationOptions, noLog);
    const std::string& device = options.Value(cli_option::kDevice);
    if (station.OpenCables({device}, &error) != CableOpening::Opened) {
        ReportFailure("verify: " + error);
        return kExitNoRadio;
    }
    // The one radio is on the cable already: confirmed now, and no other after it.
    station.Confirm(0);
    station.EndConfirmations();
    StartStationWorkers(station);
    std::optional<RadioRecord> done = FollowStation(station);
    if (!done) {
        if (StationInterrupts() > 0) {
            ReportFailure("verify: cancelled before the radio was read");
            return kExitCancelled;
        }
        ReportFailure("verify: no radio answered on " + device +
                      ": check that the radio is switched on and the cable is plugged in");
        return kExitNoRadio;
    }
    const RadioRecord& record = *done;
    for (const std::string& place : record.places) {
        std::cout << TerminalText(place) << '\n';
    }
    switch (record.result) {
        case RadioResult::Same:
            std::cout << "same: the radio holds the channels and settings of the file\n";
            break;
        case RadioResult::Differs:
            std::cout << record.places.size()
                      << (record.places.size() == 1 ? " place differs" : " places differ")
                      << " between the file and the radio; nothing was written\n";
            break;
        default:
            ReportFailure("verify: " + std::string(RadioResultName(record.result)) + " (" +
                          record.detail + "); nothing was written");
            break;
    }
    return ResultExit(record.result);
}
