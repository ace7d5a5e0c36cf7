#include "cli/cli_support.h"

#include <charconv>
#include <iostream>

#include "codeplug/band_lines.h"
#include "config/app_globals.h"
#include "config/file_locations.h"
#include "config/setting_definitions.h"
#include "config/settings_check.h"

int ReportFailure(const std::string& message) {
    std::cerr << "halvex-cli: " << message << '\n';
    return kExitFailure;
}

bool UseSettingsFile(const std::string& settingsPath, std::string* error) {
    std::string moduleDir = ExecutableDirectory();
    FileLocations locations = LocateFiles(moduleDir, ProcessEnvironment());
    UseFileLocations(moduleDir, locations);
    if (!settingsPath.empty()) {
        g_SettingsPath = settingsPath;
    } else if (!PrepareSettingsFile(locations, error)) {
        return false;
    }
    SettingsCheck check = CheckSettingsFile(g_SettingsPath);
    if (!check.refusal.empty()) {
        *error = check.refusal;
        return false;
    }
    // A wrong value must not turn into a failure of the cable later: each is named now.
    if (!check.badValues.empty()) {
        error->clear();
        for (const BadSettingValue& bad : check.badValues) {
            *error += (error->empty() ? "" : "\nhalvex-cli: ") +
                      BadValueMessage(g_SettingsPath, bad, false);
        }
        return false;
    }
    for (const std::string& note : check.notes) {
        std::cerr << "halvex-cli: " << note << '\n';
    }
    g_ChannelCount = settings::kChannelCount.Read(g_SettingsPath);
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
                 std::to_string(kBandLineCount - 1) + ", not '" + value + "'";
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
    std::optional<std::string> line = ReadBandLine(g_SettingsPath, *band, kBandLineMatchBufferSize);
    if (!line || !IsUsableBandLine(*line)) {
        *error = std::string(command) + ": " + g_SettingsPath + " has no usable band line data" +
                 std::to_string(*band);
        return false;
    }
    document->ChangeFrequencyRange(*band);
    return true;
}
