// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_support.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "cli/cli_streams.h"
#include "codeplug/band_lines.h"
#include "codeplug/write_risk.h"
#include "config/app_globals.h"
#include "config/file_locations.h"
#include "config/setting_definitions.h"
#include "config/settings.h"
#include "platform/terminal_text.h"

namespace {

constexpr int kHighestPort = 255;

// "'value'" safe for a terminal, for messages that quote what the user gave.
std::string Quoted(const std::string& value) {
    std::string quoted = "'";
    quoted += TerminalText(value, kEchoedValueLimit);
    return quoted + "'";
}

}  // namespace

int ReportFailure(const std::string& message) {
    PrintNote("halvex-cli: " + message);
    return kExitFailure;
}

void PrintNote(const std::string& line) {
    std::cerr << TerminalText(NameStandardInput(line)) << '\n';
}

DeviceRoots DeviceRootsFromEnvironment() {
    DeviceRoots roots;
    if (const char* sys = std::getenv("HALVEX_SYSFS_ROOT")) {
        roots.sysRoot = sys;
    }
    if (const char* dev = std::getenv("HALVEX_DEV_ROOT")) {
        roots.devRoot = dev;
    }
    return roots;
}

TraceSink StandardErrorTrace(std::string prefix) {
    return [prefix = std::move(prefix)](const std::string& line) {
        std::string whole = prefix;
        whole += line;
        whole += '\n';
        std::fwrite(whole.data(), 1, whole.size(), stderr);
    };
}

bool ParsePort(std::string_view command, const std::string& value, std::optional<int>* port,
               std::string* error) {
    int number = 0;
    auto [end, failure] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (failure != std::errc() || end != value.data() + value.size() || number < 1 ||
        number > kHighestPort) {
        *error = std::string(command) + ": --port takes a port number from 1 to " +
                 std::to_string(kHighestPort) + ", not " + Quoted(value);
        return false;
    }
    *port = number;
    return true;
}

bool UseSettingsFile(const std::string& settingsPath, std::string* error) {
    SettingsCheck check;
    std::string name;
    if (!StartSettings(ExecutableDirectory(), ProcessEnvironment(), settingsPath,
                       SettingsNaming::kPath, &check, &name, error)) {
        return false;
    }
    // A wrong value must not turn into a failure of the cable later: each is named now.
    if (!check.badValues.empty()) {
        for (size_t index = 0; index + 1 < check.badValues.size(); ++index) {
            PrintNote("halvex-cli: " + BadValueMessage(name, check.badValues[index], false));
        }
        *error = BadValueMessage(name, check.badValues.back(), false);
        return false;
    }
    for (const std::string& note : check.notes) {
        PrintNote("halvex-cli: " + note);
    }
    return true;
}

bool CliPrompts::AskOkCancel(const DocumentMessage&) {
    return true;
}

void CliPrompts::ShowStopMessage(const DocumentMessage&) {}

bool ParseBand(std::string_view command, const std::string& value, std::optional<int>* band,
               std::string* error) {
    int number = -1;
    auto [end, failure] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (failure != std::errc() || end != value.data() + value.size() || number < 0 ||
        number >= kBandLineCount) {
        *error = std::string(command) + ": --band takes a band line number from 0 to " +
                 std::to_string(kBandLineCount - 1) + ", not " + Quoted(value);
        return false;
    }
    *band = number;
    return true;
}

bool NewDocumentOnBand(std::string_view command, const std::optional<int>& band,
                       CHalvexDoc* document, std::string* error) {
    document->OnNewDocument(true);
    if (!band) {
        return true;
    }
    std::optional<std::string> line =
        settings::kBandLines.Read(g_SettingsPath, *band, kBandLineMatchBufferSize);
    if (!line || !IsUsableBandLine(*line)) {
        *error = std::string(command) + ": " + g_SettingsPath + " has no usable band line data" +
                 std::to_string(*band);
        return false;
    }
    document->ChangeFrequencyRange(*band);
    return true;
}

void NoteChannelsBeyondCount(const CHalvexDoc& document, int channelCount,
                             const std::string& leftOutOf) {
    const std::vector<int> beyond = ChannelsInUseBeyond(document.Image(), channelCount);
    if (beyond.empty()) {
        return;
    }
    // Enough numbers to find them; a radio full past the count needs no list of 100.
    constexpr size_t kListedChannels = 10;
    std::string list;
    for (size_t k = 0; k < beyond.size() && k < kListedChannels; ++k) {
        list += (k == 0 ? "" : ", ") + std::to_string(beyond[k]);
    }
    if (beyond.size() > kListedChannels) {
        list += ", ...";
    }
    const bool one = beyond.size() == 1;
    PrintNote("halvex-cli: " + std::to_string(beyond.size()) + (one ? " channel" : " channels") +
              " in use beyond channelcount=" + std::to_string(channelCount) + " of the settings " +
              (one ? "is" : "are") + " not " + leftOutOf + ": " + list);
}

void NoteUnreadableChannels(const CHalvexDoc& document, const std::string& path) {
    if (HoldsNoReadableChannel(document.Image())) {
        PrintNote("halvex-cli: warning: no channel of " + path +
                  " holds a frequency that can be read: it is probably not a radio program");
    }
}
