#include "config/settings.h"

#include "config/app_globals.h"
#include "config/file_locations.h"
#include "platform/profile.h"

namespace {

constexpr std::string_view kSetupSection = "setup";
constexpr size_t kLanguageBufferSize = 260;

}  // namespace

std::string ReadSetupString(std::string_view key, std::string_view defaultValue,
                            size_t bufferSize) {
    return ReadProfileString(g_SettingsPath, kSetupSection, key, defaultValue, bufferSize);
}

int ReadSetupInt(std::string_view key, int defaultValue) {
    return ReadProfileInt(g_SettingsPath, kSetupSection, key, defaultValue);
}

bool WriteSetupString(std::string_view key, std::string_view value, std::string* error) {
    return WriteProfileString(g_SettingsPath, kSetupSection, key, value, error);
}

bool LoadStartupSettings(const std::string& moduleDir, std::string* error,
                         const UserEnvironment& environment) {
    FileLocations locations = LocateFiles(moduleDir, environment);
    UseFileLocations(moduleDir, locations);
    if (!PrepareSettingsFile(locations, error)) {
        return false;
    }
    std::string language = ReadSetupString("language", "", kLanguageBufferSize);
    SetLanguageName(language.empty() ? DefaultLanguageName() : language);
    g_ChannelCount = ClampChannelCount(ReadSetupInt("channelcount", 1));
    return true;
}
