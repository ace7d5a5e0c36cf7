// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_station.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <utility>

#include "config/language.h"
#include "station/unlogged_radios.h"
#include "web_document.h"

namespace {

constexpr const char* kLogFolder = "/halvex/station";
constexpr const char* kLogPath = "/halvex/station/station-log.csv";

// The language text of key with %1, %2, ... taken by the values.
std::string Filled(const char* key, std::initializer_list<std::string> values) {
    std::string text = LoadLangString(key);
    char mark[] = "%1";
    for (const std::string& value : values) {
        const size_t at = text.find(mark);
        if (at != std::string::npos) {
            text.replace(at, 2, value);
        }
        ++mark[1];
    }
    return text;
}

}  // namespace

WebStation::WebStation(std::string settingsPath) {
    m_Options.settingsPath = std::move(settingsPath);
}

std::string WebStation::Start(const WebDocument& document, bool verify, bool checkOnly,
                              const std::string& firstCode) {
    StationOptions options;
    options.settingsPath = m_Options.settingsPath;
    options.verify = verify;
    options.checkOnly = checkOnly;
    options.documentSettings = document.Document().GetSettings();
    if (!firstCode.empty()) {
        PttIdSeries codes;
        std::string error;
        if (!ParsePttIdSeries(firstCode, &codes, &error)) {
            return LoadLangString("IDS_STATION_CODE_BAD");
        }
        options.pttIdCodes = codes;
    }
    options.fileName = document.PathName();
    options.runId = StationRunId();
    const std::vector<uint8_t> image = document.PreparedCopy();
    if (image.size() != m_Image.size()) {
        return LoadLangString("IDS_PROMPT_WRITEFAIL");
    }
    std::copy(image.begin(), image.end(), m_Image.begin());
    mkdir(kLogFolder, 0755);
    // One log for the page's visit: each run's numbers go on from the last.
    std::string error;
    if (!m_Log.Open(kLogPath, &error)) {
        return error;
    }
    m_Options = std::move(options);
    m_NumberBase = m_Log.LastRadioNumber();
    m_Claimed = 0;
    m_Records.clear();
    m_Running = true;
    return {};
}

StationClaim WebStation::Claim(const std::string& cable) {
    StationClaim claim;
    if (!m_Running) {
        return claim;
    }
    const int index = ++m_Claimed;
    std::optional<StationImage> image = StationImageFor(m_Image, m_Options, index - 1);
    if (!image) {
        m_Running = false;
        claim.message =
            Filled("IDS_STATION_CODE_FULL", {cable, std::to_string(m_NumberBase + index)});
        return claim;
    }
    claim.number = m_NumberBase + index;
    claim.image = *image;
    return claim;
}

std::string WebStation::MarkWritten(const RadioRecord& record) {
    std::string error;
    if (m_Log.MarkWritten(record, &error)) {
        return {};
    }
    m_Running = false;
    return Filled("IDS_STATION_LOG_FAILED", {error});
}

std::string WebStation::UnloggedText() const {
    std::ifstream file(UnloggedRadiosPath(kLogPath), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WebStation::KeepUnlogged(const std::string& text) {
    if (text.empty()) {
        return;
    }
    mkdir(kLogFolder, 0755);
    std::ofstream(UnloggedRadiosPath(kLogPath), std::ios::binary) << text;
}

std::vector<std::string> WebStation::UnloggedWords() const {
    std::vector<std::string> words;
    for (const UnloggedRadio& radio : m_Log.Unlogged()) {
        words.push_back(Filled("IDS_STATION_UNLOGGED",
                               {radio.cable, std::to_string(radio.number), radio.written}));
    }
    return words;
}

StationLogged WebStation::Finish(const RadioRecord& record) {
    StationLogged logged;
    std::string error;
    if (!m_Log.Append(record, &error)) {
        // A radio nobody can find in the log is worse than a station that stops.
        m_Running = false;
        logged.message = Filled("IDS_STATION_LOG_FAILED", {error});
    }
    m_Records.push_back(record);
    logged.words = RadioDoneWords(record, [](const char* key) { return LoadLangString(key); });
    logged.advice = LoadLangString(RadioDoneTextKeys(record.result).advice);
    logged.ok = record.result == RadioResult::Ok;
    logged.passed = RadioPassed(record.result);
    return logged;
}

std::vector<uint8_t> WebStation::LogBytes() const {
    std::ifstream file(kLogPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string WebStation::Summary(const std::string& cable) const {
    return StationSummary(m_Records, cable);
}

std::string StationFileText(const WebDocument& document) {
    const std::string path = document.PathName();
    if (path.empty()) {
        return Filled("IDS_STATION_FILE", {LoadLangString("IDS_STATION_UNTITLED")});
    }
    return Filled("IDS_STATION_FILE",
                  {document.IsModified() ? Filled("IDS_STATION_UNSAVED", {path}) : path});
}

std::string CableStateText(CablePhase phase, int percent) {
    switch (phase) {
        case CablePhase::WaitingForConfirm:
            return LoadLangString("IDS_STATION_WAITING");
        case CablePhase::LookingForRadio:
            return LoadLangString("IDS_STATION_LOOKING");
        case CablePhase::Writing:
            return Filled("IDS_STATION_WRITING", {std::to_string(percent)});
        case CablePhase::Checking:
            return Filled("IDS_STATION_CHECKING", {std::to_string(percent)});
        case CablePhase::WaitingForUnplug:
            return LoadLangString("IDS_STATION_UNPLUG");
        case CablePhase::Stopped:
            return LoadLangString("IDS_STATION_STOPPED");
    }
    return {};
}

std::string WebCableName(int number, bool virtualRadio, int usbVendor, int usbProduct) {
    if (virtualRadio) {
        return "virtual radio " + std::to_string(number);
    }
    std::string name = "port " + std::to_string(number);
    if (usbVendor > 0 || usbProduct > 0) {
        char identity[24];
        std::snprintf(identity, sizeof identity, " (USB %04x:%04x)", usbVendor & 0xFFFF,
                      usbProduct & 0xFFFF);
        name += identity;
    }
    return name;
}
