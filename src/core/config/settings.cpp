// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/settings.h"

#include <filesystem>

#include "codeplug/band_lines.h"
#include "config/app_globals.h"
#include "config/language_files.h"
#include "config/setting_definitions.h"

static_assert(settings::kBandLines.count == kBandLineCount);

DocumentSettings DocumentSettingsFor(const std::string& settingsPath, int channelCount) {
    return {[settingsPath](int k, size_t bufferSize) {
                return settings::kBandLines.Read(settingsPath, k, bufferSize);
            },
            channelCount};
}

bool StartSettings(const std::string& moduleDir, const UserEnvironment& environment,
                   const std::string& settingsPath, SettingsNaming naming, SettingsCheck* check,
                   std::string* shownName, std::string* error) {
    FileLocations locations = LocateFiles(moduleDir, environment);
    UseFileLocations(moduleDir, locations);
    if (!settingsPath.empty()) {
        g_SettingsPath = settingsPath;
    } else if (!PrepareSettingsFile(locations, error)) {
        return false;
    }
    *shownName = naming == SettingsNaming::kFileName
                     ? std::filesystem::path(g_SettingsPath).filename().string()
                     : g_SettingsPath;
    *check = CheckSettingsFile(g_SettingsPath, *shownName);
    if (!check->refusal.empty()) {
        *error = check->refusal;
        return false;
    }
    g_ChannelCount = settings::kChannelCount.Read(g_SettingsPath);
    return true;
}

bool LoadStartupSettings(const std::string& moduleDir, std::string* error,
                         const UserEnvironment& environment, std::vector<std::string>* notes) {
    SettingsCheck check;
    std::string name;
    if (!StartSettings(moduleDir, environment, {}, SettingsNaming::kFileName, &check, &name,
                       error)) {
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
    if (!language.empty()) {
        SetLanguageName(language);
        return true;
    }
    // Chosen for this run only: the setting is written when the user picks a language.
    LocaleChoice choice = LanguageForLocale(g_DataDirs, SystemLocale());
    if (choice.path) {
        g_LanguagePath = *choice.path;
    } else {
        SetLanguageName("english");
    }
    if (notes != nullptr) {
        notes->insert(notes->end(), choice.notes.begin(), choice.notes.end());
    }
    return true;
}
