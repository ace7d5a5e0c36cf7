// SPDX-License-Identifier: GPL-3.0-or-later
// One radio of the programming station on a line that is already open: its write, read-back
// and comparison, or its check, ending in the record its log line is made of. The station runs
// it on each cable's worker; the browser runs it in a module of its own per cable.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "codeplug/document_settings.h"
#include "codeplug/radio_image.h"
#include "link/traced_line.h"
#include "link/transfer_job.h"
#include "station/ptt_id_series.h"
#include "station/station_log.h"

using StationImage = std::array<uint8_t, kImageSize>;

struct StationOptions {
    std::string settingsPath;
    bool verify = true;
    // Radios are found by trying the wake-up, instead of waiting for Confirm.
    bool autoNext = false;
    // Radios in all before the station stops; 0 for no limit.
    int count = 0;
    int probeIntervalMs = 2000;
    // How long a written radio may still answer before the user is told so, once.
    int stillAnsweringMs = 20000;
    // Each radio is read and compared with the image, and never written.
    bool checkOnly = false;
    // Each radio's image gets its own PTT ID code before its write and its check.
    std::optional<PttIdSeries> pttIdCodes;
    // For the log: the file as the user named it, and the run (StationRunId).
    std::string fileName;
    std::string runId;
    // The band lines and channel count a check words its differences with.
    DocumentSettings documentSettings;
    // When set, makes the sink each cable tells its frames to, given the cable's device; the
    // traces of all cables share one clock, and each sink is called from its cable's worker.
    std::function<TraceSink(const std::string& device)> traceFor = {};
};

enum class CablePhase : int32_t {
    // Waiting for Confirm (the user says the next radio is on).
    WaitingForConfirm,
    // Trying the wake-up until a radio answers.
    LookingForRadio,
    Writing,
    Checking,
    // Trying the wake-up until the radio just done stops answering.
    WaitingForUnplug,
    Stopped,
};

// Where the radio's run tells its front end how far it got.
struct RadioSteps {
    std::function<void(CablePhase)> phase = {};
    // The write ended whole; until its line is in the log the radio counts as unlogged.
    std::function<void(const RadioRecord&)> written = {};
};

// The radio on this cable, the run's number-th: written (and, with options.verify, read back
// and compared) or, with options.checkOnly, read and compared only. abandon cancels the job's
// exchanges as soon as it is set.
RadioRecord RunStationRadio(CableLine& line, TransferJob& job, const StationOptions& options,
                            const std::string& cable, int number, const StationImage& image,
                            const std::atomic<int32_t>& abandon, const RadioSteps& steps);

// The image the run's radio at index (from 0) gets; none when its PTT ID code would not fit.
std::optional<StationImage> StationImageFor(const StationImage& image,
                                            const StationOptions& options, int index);
