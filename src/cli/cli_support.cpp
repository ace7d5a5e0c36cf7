#include "cli/cli_support.h"

#include <iostream>

#include "app/app_globals.h"
#include "app/file_locations.h"
#include "platform/profile.h"

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
    std::string contents;
    if (!ReadProfileFile(g_SettingsPath, &contents, error)) {
        return false;
    }
    g_ChannelCount = ClampChannelCount(ReadProfileInt(g_SettingsPath, "setup", "channelcount", 1));
    return true;
}

bool CliPrompts::AskOkCancel(const std::string&, const std::string&) {
    return true;
}

void CliPrompts::ShowStopMessage(const std::string&, const std::string&) {}
