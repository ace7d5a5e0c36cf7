// SPDX-License-Identifier: GPL-3.0-or-later
#include "station/unlogged_radios.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>

#include "platform/atomic_file.h"
#include "platform/csv_text.h"

namespace {

// A marker that grew past this was not written by the station, which keeps one line a cable.
constexpr size_t kLargestMarker = 1 << 20;

}  // namespace

std::string UnloggedRadiosPath(const std::string& logPath) {
    std::filesystem::path log(logPath);
    // Built by appending: the optimised build warns falsely on "." + name.
    std::string hidden = ".";
    hidden += log.filename().string();
    hidden += ".unlogged";
    return (log.parent_path() / hidden).string();
}

bool ReadUnloggedRadios(const std::string& path, std::vector<UnloggedRadio>* radios,
                        std::string* error) {
    radios->clear();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT) {
            return true;
        }
        *error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string text(kLargestMarker + 1, '\0');
    size_t size = 0;
    ssize_t count = 0;
    while (size < text.size() && (count = read(fd, text.data() + size, text.size() - size)) > 0) {
        size += static_cast<size_t>(count);
    }
    int readError = errno;
    close(fd);
    if (count < 0) {
        *error = "cannot read " + path + ": " + std::strerror(readError);
        return false;
    }
    text.resize(size);
    std::vector<CsvRecord> records;
    std::string reason;
    if (text.size() > kLargestMarker || !ParseCsvText(text, &records, &reason)) {
        reason = reason.empty() ? "too large" : reason;
        *error = path + " is not the station's list of unlogged radios (" + reason +
                 "); move it away to go on";
        return false;
    }
    for (const CsvRecord& record : records) {
        // A log line: time, cable, radio, ... seconds, finished, ...
        const std::vector<std::string>& fields = record.fields;
        UnloggedRadio radio;
        const std::string number = fields.size() >= 8 ? fields[2] : "";
        auto [end, failure] =
            std::from_chars(number.data(), number.data() + number.size(), radio.number);
        if (failure != std::errc() || end != number.data() + number.size() || radio.number < 1) {
            *error = path + " line " + std::to_string(record.line) +
                     " is not a radio of the station; move the file away to go on";
            return false;
        }
        radio.cable = fields[1];
        radio.written = fields[7];
        for (size_t k = 0; k < fields.size(); ++k) {
            // Appended piece by piece: the optimised build warns falsely on "" + string.
            if (k > 0) {
                radio.line += ',';
            }
            radio.line += QuoteCsvField(fields[k]);
        }
        radios->push_back(std::move(radio));
    }
    return true;
}

bool WriteUnloggedRadios(const std::string& path, const std::vector<UnloggedRadio>& radios,
                         std::string* error) {
    if (radios.empty()) {
        if (unlink(path.c_str()) != 0 && errno != ENOENT) {
            *error = "cannot remove " + path + ": " + std::strerror(errno);
            return false;
        }
        return true;
    }
    std::string text;
    for (const UnloggedRadio& radio : radios) {
        text += radio.line + "\n";
    }
    return ReplaceFileContents(path, text, error);
}
