// SPDX-License-Identifier: GPL-3.0-or-later
// What halvex-cli station and verify share: the file as a station takes it, the options both
// give the station, its workers started away from the signals, and the exit of a result.
#pragma once

#include <string>

#include "platform/command_options.h"
#include "station/programming_station.h"

// The radio holds other channels or settings than the file (verify, station --check-only).
constexpr int kExitRadioDiffers = 6;

// The file as write checks it: whole, or nothing is sent to any radio.
bool LoadStationImage(const std::string& path, StationImage* image, std::string* error);
// The settings, the file's name, a new run id and --check-only and --ptt-id-code-from.
bool TakeStationOptions(const ParsedOptions& options, StationOptions* taken, std::string* error);
// Starts the workers with SIGINT, SIGTERM and SIGHUP caught for this thread alone.
void StartStationWorkers(ProgrammingStation& station);
// Ctrl-C presses since the workers started; 2 once SIGTERM or SIGHUP came.
int StationInterrupts();
int ResultExit(RadioResult result);
int RunVerifyCommand(const ParsedOptions& options);
