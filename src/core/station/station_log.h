// SPDX-License-Identifier: GPL-3.0-or-later
// The programming station's record of each radio: one CSV line per radio under a header row,
// appended and synced at once, so a crash or a pulled plug never loses a radio that was already
// written; a radio written whose line never came is named at the next start.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "station/unlogged_radios.h"

// Same, Differs and ReadFailed are the outcomes of a check that writes nothing; Unchecked is a
// radio written completely whose station stopped before its check and line.
enum class RadioResult {
    Ok,
    VerifyFailed,
    WriteFailed,
    Cancelled,
    Same,
    Differs,
    ReadFailed,
    Unchecked
};

// "ok", "verify-failed", "write-failed", "cancelled", "same", "differs", "read-failed",
// "unchecked": the result column of the log.
const char* RadioResultName(RadioResult result);

struct RadioRecord {
    // When the radio's write (or check) began and when it ended, as local time with its offset.
    std::string time;
    std::string finished;
    // The station run that took it (StationRunId).
    std::string run;
    std::string cable;
    // Counted over all cables in the order the radios were taken, on from the log's last line.
    int number = 0;
    std::vector<uint8_t> identification;
    RadioResult result = RadioResult::Ok;
    // Why it was not ok, for the user: the differing blocks, the failure or how far a
    // cancelled write got; empty when ok.
    std::string detail;
    double seconds = 0;
    // The file as the user named it, the first 16 hexadecimal digits of the SHA-256 of the 8 KB
    // image sent (or checked against) and the PTT ID code that image holds.
    std::string file;
    std::string imageHash;
    std::string pttIdCode;
    // Each place in which the radio differs from the file, as diff words it; of Differs only.
    std::vector<std::string> places;
};

// Eight hexadecimal digits, new for each run.
std::string StationRunId();

// "2026-12-09T18:40:12+0100".
std::string LocalTimeText(int64_t secondsSinceEpoch);

// The first row of a new log. The columns after seconds came later: an older log's lines keep
// their place under the same header names.
inline constexpr const char* kStationLogHeader =
    "time,cable,radio,identification,result,detail,seconds,finished,run,file,image_sha256,"
    "ptt_id_code";

// The record's fields in the header's order without a line end, quoted as CSV needs.
std::string RadioLogLine(const RadioRecord& record);

// "/dev/ttyUSB0: radio 3 ok, PTT ID code 0103: done, unplug", as the command line prints a
// radio done.
std::string RadioDoneText(const RadioRecord& record);

// The language keys of that line's result word and of what the user does next, for a list in
// the user's language; English fills "IDS_STATION_RADIO_LINE" to RadioDoneText's words.
struct RadioDoneKeys {
    const char* result;
    const char* advice;
};
RadioDoneKeys RadioDoneTextKeys(RadioResult result);
// A result shown green across a bench: written and checked, or found the same as the file.
bool RadioPassed(RadioResult result);
// That line in the language text gives (the language text of a key); a detail keeps the log's
// own words.
std::string RadioDoneWords(const RadioRecord& record,
                           const std::function<std::string(const char* key)>& text);

class StationLog {
public:
    StationLog() = default;
    ~StationLog();
    StationLog(const StationLog&) = delete;
    StationLog& operator=(const StationLog&) = delete;

    // Opens path for appending, creating it when missing, reads the highest radio number,
    // and logs as unchecked the radios an earlier run wrote but never logged; false with a
    // message, the file untouched, when it is not a station log.
    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return m_Fd >= 0; }
    void Close();
    // The highest radio number of the log's lines (or of an unlogged radio past it); 0 for a
    // new log or none.
    int LastRadioNumber() const { return m_LastNumber; }
    // The radios the last run wrote completely but never logged, logged by Open.
    const std::vector<UnloggedRadio>& Unlogged() const { return m_Unlogged; }
    // The record's radio was written completely: until its line is appended it counts as
    // unlogged should the station stop. True without a file.
    bool MarkWritten(const RadioRecord& record, std::string* error);
    // Appends the record's line (after the header in a new file) and syncs it; safe from
    // several workers at once. True without a file.
    bool Append(const RadioRecord& record, std::string* error);

private:
    bool ReadEnd(std::string* error);
    bool AppendLine(std::string line, int number, std::string* error);
    bool Unmark(const RadioRecord& record, std::string* error);

    std::mutex m_Mutex;
    int m_Fd = -1;
    std::string m_Path;
    int m_LastNumber = 0;
    std::vector<UnloggedRadio> m_Unlogged;
    std::vector<UnloggedRadio> m_Written;
};

// "23 radios: 22 ok, 1 verify failed on /dev/ttyUSB1" for records, or, with cable given,
// only that cable's radios ("/dev/ttyUSB1: 8 radios: 7 ok, 1 verify failed").
std::string StationSummary(const std::vector<RadioRecord>& records, const std::string& cable = {});
