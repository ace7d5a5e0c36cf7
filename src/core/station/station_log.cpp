// SPDX-License-Identifier: GPL-3.0-or-later
#include "station/station_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>

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
    }
    return "";
}

// Whether the file's last byte, at size - 1, ends a line.
bool EndsInLineEnd(int fd, off_t size) {
    char last = 0;
    return pread(fd, &last, 1, size - 1) == 1 && last == '\n';
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
    }
    return "";
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
    return line;
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
    return true;
}

bool StationLog::Append(const RadioRecord& record, std::string* error) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_Fd < 0) {
        return true;
    }
    std::string line = RadioLogLine(record);
    line += '\n';
    struct stat before {};
    std::string reason;
    if (fstat(m_Fd, &before) != 0) {
        reason = std::strerror(errno);
    } else {
        // A line an earlier run left half written would take this one's fields as its own.
        if (before.st_size > 0 && !EndsInLineEnd(m_Fd, before.st_size)) {
            line.insert(line.begin(), '\n');
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
    *error = "the log " + m_Path + " could not take radio " + std::to_string(record.number) + ": " +
             reason;
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
        if (result == RadioResult::Ok || !cable.empty()) {
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
