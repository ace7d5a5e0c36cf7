// SPDX-License-Identifier: GPL-3.0-or-later
// The programming station's record of each radio: one CSV line per radio, appended and synced
// at once, so a crash or a pulled plug never loses a radio that was already written.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

enum class RadioResult { Ok, VerifyFailed, WriteFailed, Cancelled };

// "ok", "verify-failed", "write-failed", "cancelled": the result column of the log.
const char* RadioResultName(RadioResult result);

struct RadioRecord {
    // When the radio's write began, as local time with its offset.
    std::string time;
    std::string cable;
    // Counted over all cables of this run, from 1, in the order the radios were taken.
    int number = 0;
    std::vector<uint8_t> identification;
    RadioResult result = RadioResult::Ok;
    // Why it was not ok, for the user: the differing blocks, the failure or how far a
    // cancelled write got; empty when ok.
    std::string detail;
    double seconds = 0;
};

// "2026-12-09T18:40:12+0100".
std::string LocalTimeText(int64_t secondsSinceEpoch);

// "time,cable,radio,identification,result,detail,seconds" without a line end; cable and
// detail quoted as CSV needs.
std::string RadioLogLine(const RadioRecord& record);

class StationLog {
public:
    StationLog() = default;
    ~StationLog();
    StationLog(const StationLog&) = delete;
    StationLog& operator=(const StationLog&) = delete;

    // Opens path for appending, creating it when missing; false with a message.
    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return m_Fd >= 0; }
    void Close();
    // Appends the record's line and syncs it; safe from several workers at once. True
    // without a file.
    bool Append(const RadioRecord& record, std::string* error);

private:
    std::mutex m_Mutex;
    int m_Fd = -1;
    std::string m_Path;
};

// "23 radios: 22 ok, 1 verify failed on /dev/ttyUSB1" for records, or, with cable given,
// only that cable's radios ("/dev/ttyUSB1: 8 radios: 7 ok, 1 verify failed").
std::string StationSummary(const std::vector<RadioRecord>& records, const std::string& cable = {});
