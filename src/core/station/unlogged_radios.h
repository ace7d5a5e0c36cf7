// SPDX-License-Identifier: GPL-3.0-or-later
// The radios written completely whose log line is still to come, kept in a hidden file beside
// the log (".NAME.unlogged") as the lines they would get unchecked, so that a station killed or
// left without power between a radio's write and its line is found out at the next start,
// which logs them, instead of leaving a radio nobody logged.
#pragma once

#include <string>
#include <vector>

struct UnloggedRadio {
    std::string cable;
    int number = 0;
    // When its write ended.
    std::string written;
    // Its line for the log, without a line end.
    std::string line;
};

// ".log.csv.unlogged" beside "/path/log.csv".
std::string UnloggedRadiosPath(const std::string& logPath);

// The radios the file names; none when it is missing. False with a message when it cannot be
// read or was not written by the station.
bool ReadUnloggedRadios(const std::string& path, std::vector<UnloggedRadio>* radios,
                        std::string* error);
// Replaces the file with radios, or removes it when there are none; false with a message.
bool WriteUnloggedRadios(const std::string& path, const std::vector<UnloggedRadio>& radios,
                         std::string* error);
