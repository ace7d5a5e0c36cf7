// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/settings.h"

#include <filesystem>

#include "config/app_globals.h"
#include "config/file_locations.h"
#include "config/setting_definitions.h"
#include "config/settings_check.h"
#include "platform/profile.h"

std::string ReadSetupString(std::string_view key, std::string_view defaultValue,
                            size_t bufferSize) {
    return ReadProfileString(g_SettingsPath, settings::kSetupSection, key, defaultValue,
                             bufferSize);
}

int ReadSetupInt(std::string_view key, int defaultValue) {
    return ReadProfileInt(g_SettingsPath, settings::kSetupSection, key, defaultValue);
}

bool WriteSetupString(std::string_view key, std::string_view value, std::string* error) {
    return WriteProfileString(g_SettingsPath, settings::kSetupSection, key, value, error);
}

bool LoadStartupSettings(const std::string& moduleDir, std::string* error,
                         const UserEnvironment& environment, std::vector<std::string>* notes) {
    FileLocations locations = LocateFiles(moduleDir, environment);
    UseFileLocations(moduleDir, locations);
    if (!PrepareSettingsFile(locations, error)) {
        return false;
    }
    // The window has room for the file's name only; the refusal, shown in a box, has the path.
    std::string name = std::filesystem::path(g_SettingsPath).filename().string();
    SettingsCheck check = CheckSettingsFile(g_SettingsPath, name);
    if (!check.refusal.empty()) {
        *error = check.refusal;
        return false;
    }
    if (notes != nullptr) {
        notes->clear();
        for (const BadSettingValue& bad : check.badValues) {
            notes->push_back(BadValueMessage(name, bad, true));
        }
        notes->insert(notes->end(), check.notes.begin(), check.notes.end());
    }
    std::string language = settings::kLanguage.Read(g_SettingsPath);
    SetLanguageName(language.empty() ? DefaultLanguageName() : language);
    g_ChannelCount = settings::kChannelCount.Read(g_SettingsPath);
    return true;
}
