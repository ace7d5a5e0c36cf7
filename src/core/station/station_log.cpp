// SPDX-License-Identifier: GPL-3.0-or-later
#include "station/station_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <map>
#include <random>

#include "platform/csv_text.h"

namespace {

std::string HexText(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (uint8_t byte : bytes) {
        std::array<char, 3> pair{};
        std::snprintf(pair.data(), pair.size(), "%02X", byte);
        text += pair.data();
    }
    return text;
}

const char* SummaryWords(RadioResult result) {
    switch (result) {
        case RadioResult::Ok:
            return "ok";
        case RadioResult::VerifyFailed:
            return "verify failed";
        case RadioResult::WriteFailed:
            return "write failed";
        case RadioResult::Cancelled:
            return "cancelled";
        case RadioResult::Same:
            return "same";
        case RadioResult::Differs:
            return "different";
        case RadioResult::ReadFailed:
            return "read failed";
        case RadioResult::Unchecked:
            return "unchecked";
    }
    return "";
}

// What the user does next with a radio of this result.
const char* Advice(RadioResult result) {
    switch (result) {
        case RadioResult::Ok:
            return "done, unplug";
        case RadioResult::Cancelled:
            return "abandoned, write it again";
        case RadioResult::VerifyFailed:
        case RadioResult::WriteFailed:
            return "failed, write again";
        case RadioResult::Same:
        case RadioResult::Differs:
            return "checked, unplug";
        case RadioResult::ReadFailed:
            return "failed, check it again";
        case RadioResult::Unchecked:
            return "check it";
    }
    return "";
}

// A log past this is read no further: its numbers go on in a new log.
constexpr off_t kLargestLog = off_t{64} << 20;

// What ends a half line at the file's end, of size bytes: nothing after a line end; else a
// line end, after a closing quote when the half line left a quoted field open, or that field
// would take every later line into itself.
std::string HalfLineEnd(int fd, off_t size) {
    constexpr off_t kLongestTail = 64 * 1024;
    std::string tail(static_cast<size_t>(std::min(size, kLongestTail)), '\0');
    ssize_t count = pread(fd, tail.data(), tail.size(), size - static_cast<off_t>(tail.size()));
    tail.resize(count > 0 ? static_cast<size_t>(count) : 0);
    if (!tail.empty() && tail.back() == '\n') {
        return "";
    }
    size_t start = tail.rfind('\n');
    start = start == std::string::npos ? 0 : start + 1;
    bool open = std::count(tail.begin() + static_cast<std::ptrdiff_t>(start), tail.end(), '"') % 2;
    return open ? "\"\n" : "\n";
}

// pattern with %1, %2, ... taken by the arguments in one pass, so an argument's own "%2"
// stays as it is.
std::string Numbered(const std::string& pattern, std::initializer_list<std::string> arguments) {
    std::string text;
    for (size_t at = 0; at < pattern.size(); ++at) {
        const size_t number =
            at + 1 < pattern.size() ? static_cast<size_t>(pattern[at + 1] - '1') : arguments.size();
        if (pattern[at] == '%' && number < arguments.size()) {
            text += *(arguments.begin() + number);
            ++at;
        } else {
            text += pattern[at];
        }
    }
    return text;
}

// The radio number of a log line's fields; 0 for a line that is no radio's.
int RadioNumber(const std::vector<std::string>& fields) {
    if (fields.size() < 7) {
        return 0;
    }
    const std::string& text = fields[2];
    int number = 0;
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), number);
    return failure == std::errc() && end == text.data() + text.size() && number > 0 ? number : 0;
}

std::string RadioCount(size_t count) {
    return std::to_string(count) + (count == 1 ? " radio" : " radios");
}

}  // namespace

const char* RadioResultName(RadioResult result) {
    switch (result) {
        case RadioResult::Ok:
            return "ok";
        case RadioResult::VerifyFailed:
            return "verify-failed";
        case RadioResult::WriteFailed:
            return "write-failed";
        case RadioResult::Cancelled:
            return "cancelled";
        case RadioResult::Same:
            return "same";
        case RadioResult::Differs:
            return "differs";
        case RadioResult::ReadFailed:
            return "read-failed";
        case RadioResult::Unchecked:
            return "unchecked";
    }
    return "";
}

std::string StationRunId() {
    std::random_device source;
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(source()));
    return text;
}

std::string LocalTimeText(int64_t secondsSinceEpoch) {
    time_t seconds = static_cast<time_t>(secondsSinceEpoch);
    struct tm local {};
    localtime_r(&seconds, &local);
    std::array<char, 40> text{};
    std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%S%z", &local);
    return text.data();
}

std::string RadioLogLine(const RadioRecord& record) {
    std::array<char, 32> seconds{};
    std::snprintf(seconds.data(), seconds.size(), "%.1f", record.seconds);
    std::string line = record.time;
    line += ',';
    line += QuoteCsvField(record.cable);
    line += ',';
    line += std::to_string(record.number);
    line += ',';
    line += HexText(record.identification);
    line += ',';
    line += RadioResultName(record.result);
    line += ',';
    line += QuoteCsvField(record.detail);
    line += ',';
    line += seconds.data();
    for (const std::string* field :
         {&record.finished, &record.run, &record.file, &record.imageHash, &record.pttIdCode}) {
        line += ',';
        line += QuoteCsvField(*field);
    }
    return line;
}

std::string RadioDoneText(const RadioRecord& record) {
    std::string text = record.cable + ": radio " + std::to_string(record.number) + " " +
                       RadioResultName(record.result);
    if (!record.pttIdCode.empty()) {
        text += ", PTT ID code " + record.pttIdCode;
    }
    if (!record.detail.empty()) {
        text += " (" + record.detail + ")";
    }
    return text + ": " + Advice(record.result);
}

RadioDoneKeys RadioDoneTextKeys(RadioResult result) {
    switch (result) {
        case RadioResult::Ok:
            return {"IDS_STATION_RESULT_OK", "IDS_STATION_DONE"};
        case RadioResult::VerifyFailed:
            return {"IDS_STATION_RESULT_VERIFY_FAILED", "IDS_STATION_FAILED"};
        case RadioResult::WriteFailed:
            return {"IDS_STATION_RESULT_WRITE_FAILED", "IDS_STATION_FAILED"};
        case RadioResult::Cancelled:
            return {"IDS_STATION_RESULT_CANCELLED", "IDS_STATION_ABANDONED"};
        case RadioResult::Same:
            return {"IDS_STATION_RESULT_SAME", "IDS_STATION_CHECKED"};
        case RadioResult::Differs:
            return {"IDS_STATION_RESULT_DIFFERS", "IDS_STATION_CHECKED"};
        case RadioResult::ReadFailed:
            return {"IDS_STATION_RESULT_READ_FAILED", "IDS_STATION_CHECK_FAILED"};
        case RadioResult::Unchecked:
            return {"IDS_STATION_RESULT_UNCHECKED", "IDS_STATION_CHECK_IT"};
    }
    return {"", ""};
}

bool RadioPassed(RadioResult result) {
    return result == RadioResult::Ok || result == RadioResult::Same;
}

std::string RadioDoneWords(const RadioRecord& record,
                           const std::function<std::string(const char* key)>& text) {
    const RadioDoneKeys keys = RadioDoneTextKeys(record.result);
    std::string result = text(keys.result);
    if (!record.pttIdCode.empty()) {
        result = Numbered(text("IDS_STATION_RADIO_CODE"), {result, record.pttIdCode});
    }
    if (!record.detail.empty()) {
        result += " (" + record.detail + ")";
    }
    return Numbered(text("IDS_STATION_RADIO_LINE"),
                    {record.cable, std::to_string(record.number), result, text(keys.advice)});
}

StationLog::~StationLog() {
    Close();
}

void StationLog::Close() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_Fd >= 0) {
        close(m_Fd);
        m_Fd = -1;
    }
    m_LastNumber = 0;
    m_Unlogged.clear();
    m_Written.clear();
}

bool StationLog::Open(const std::string& path, std::string* error) {
    int fd = open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0) {
        *error = "cannot open the log " + path + ": " + std::strerror(errno);
        return false;
    }
    Close();
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Fd = fd;
    m_Path = path;
    std::string reason;
    if (!ReadEnd(&reason) || !ReadUnloggedRadios(UnloggedRadiosPath(path), &m_Unlogged, error)) {
        close(m_Fd);
        m_Fd = -1;
        if (!reason.empty()) {
            *error = "the log " + path + " " + reason + "; name another log";
        }
        return false;
    }
    m_Written.clear();
    for (const UnloggedRadio& radio : m_Unlogged) {
        if (!AppendLine(radio.line, radio.number, error)) {
            close(m_Fd);
            m_Fd = -1;
            return false;
        }
        m_LastNumber = std::max(m_LastNumber, radio.number);
    }
    // Logged now: the next start must not log them again.
    return WriteUnloggedRadios(UnloggedRadiosPath(path), {}, error);
}

// The highest radio number of the whole lines, the last of which must be a radio's; a half
// line after it is an earlier run's, which Append ends before its own.
bool StationLog::ReadEnd(std::string* reason) {
    m_LastNumber = 0;
    struct stat status {};
    if (fstat(m_Fd, &status) != 0) {
        *reason = std::string("cannot be read: ") + std::strerror(errno);
        return false;
    }
    if (status.st_size > kLargestLog) {
        *reason = "is larger than 64 MB, too large to go on from";
        return false;
    }
    std::string text(static_cast<size_t>(status.st_size), '\0');
    size_t size = 0;
    while (size < text.size()) {
        ssize_t count =
            pread(m_Fd, text.data() + size, text.size() - size, static_cast<off_t>(size));
        if (count <= 0) {
            *reason = std::string("cannot be read: ") +
                      (count < 0 ? std::strerror(errno) : "it was cut short while being read");
            return false;
        }
        size += static_cast<size_t>(count);
    }
    text.erase(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
    std::vector<CsvRecord> records;
    std::string error;
    if (!ParseCsvText(text, &records, &error)) {
        *reason = "is not a table of radios (" + error + ")";
        return false;
    }
    if (records.empty()) {
        return true;
    }
    const std::vector<std::string>& fields = records.back().fields;
    if (fields.size() >= 3 && fields[2] == "radio") {
        return true;
    }
    if (RadioNumber(fields) < 1) {
        *reason =
            "does not end in a radio's line (line " + std::to_string(records.back().line) + ")";
        return false;
    }
    // Lines go in as radios end, and with several cables a later radio may end first.
    for (const CsvRecord& record : records) {
        m_LastNumber = std::max(m_LastNumber, RadioNumber(record.fields));
    }
    return true;
}

bool StationLog::MarkWritten(const RadioRecord& record, std::string* error) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_Fd < 0) {
        return true;
    }
    RadioRecord unchecked = record;
    unchecked.result = RadioResult::Unchecked;
    unchecked.detail = "written completely; the station stopped before it was checked and logged";
    m_Written.push_back({record.cable, record.number, record.finished, RadioLogLine(unchecked)});
    if (WriteUnloggedRadios(UnloggedRadiosPath(m_Path), m_Written, error)) {
        return true;
    }
    m_Written.pop_back();
    *error = "radio " + std::to_string(record.number) +
             " cannot be marked as written beside the log: " + *error;
    return false;
}

bool StationLog::Unmark(const RadioRecord& record, std::string* error) {
    auto marked = std::find_if(m_Written.begin(), m_Written.end(), [&](const UnloggedRadio& radio) {
        return radio.number == record.number;
    });
    if (marked == m_Written.end()) {
        return true;
    }
    m_Written.erase(marked);
    return WriteUnloggedRadios(UnloggedRadiosPath(m_Path), m_Written, error);
}

bool StationLog::Append(const RadioRecord& record, std::string* error) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_Fd < 0) {
        return true;
    }
    if (!AppendLine(RadioLogLine(record), record.number, error)) {
        return false;
    }
    // The line is in: a mark left now would log the radio twice at the next start.
    std::string reason;
    if (Unmark(record, &reason)) {
        return true;
    }
    *error = "radio " + std::to_string(record.number) + " is in the log, but " + reason;
    return false;
}

bool StationLog::AppendLine(std::string line, int number, std::string* error) {
    line += '\n';
    struct stat before {};
    std::string reason;
    if (fstat(m_Fd, &before) != 0) {
        reason = std::strerror(errno);
    } else {
        // A line an earlier run left half written would take this one's fields as its own.
        if (before.st_size > 0) {
            line.insert(0, HalfLineEnd(m_Fd, before.st_size));
        }
        if (before.st_size == 0) {
            line.insert(0, std::string(kStationLogHeader) + "\n");
        }
        // One write per line, so lines of several cables never interleave.
        ssize_t written = write(m_Fd, line.data(), line.size());
        if (written == static_cast<ssize_t>(line.size()) && fdatasync(m_Fd) == 0) {
            return true;
        }
        reason = written < 0 || written == static_cast<ssize_t>(line.size()) ? std::strerror(errno)
                                                                             : "the disk is full";
        // Half a line would glue the next run's first line onto it.
        if (written > 0 && ftruncate(m_Fd, before.st_size) != 0) {
            reason += "; half a line is left at its end: " + std::string(std::strerror(errno));
        }
    }
    *error =
        "the log " + m_Path + " could not take radio " + std::to_string(number) + ": " + reason;
    return false;
}

std::string StationSummary(const std::vector<RadioRecord>& records, const std::string& cable) {
    // Per result, the cables it happened on, in the order first seen.
    std::map<RadioResult, std::vector<std::string>> cablesOf;
    std::map<RadioResult, size_t> counts;
    size_t total = 0;
    for (const RadioRecord& record : records) {
        if (!cable.empty() && record.cable != cable) {
            continue;
        }
        ++total;
        ++counts[record.result];
        std::vector<std::string>& cables = cablesOf[record.result];
        if (std::find(cables.begin(), cables.end(), record.cable) == cables.end()) {
            cables.push_back(record.cable);
        }
    }
    std::string text = cable.empty() ? "" : cable + ": ";
    text += RadioCount(total);
    const char* separator = ": ";
    for (const auto& [result, count] : counts) {
        text += separator;
        text += std::to_string(count) + " " + SummaryWords(result);
        separator = ", ";
        if (result == RadioResult::Ok || result == RadioResult::Same || !cable.empty()) {
            continue;
        }
        text += " on ";
        const std::vector<std::string>& cables = cablesOf[result];
        for (size_t k = 0; k < cables.size(); ++k) {
            text += k == 0 ? "" : " and ";
            text += cables[k];
        }
    }
    return text;
}
