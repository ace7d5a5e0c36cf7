// The "setup" section of setting.ini and the values read from it at start-up.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Shown when the program's directory has no setting.ini; no language file is chosen yet.
constexpr const char* kMissingSettingsMessage = "Can not find the file setting.ini!";

std::string ReadSetupString(std::string_view key, std::string_view defaultValue, size_t bufferSize);
int ReadSetupInt(std::string_view key, int defaultValue);
bool WriteSetupString(std::string_view key, std::string_view value, std::string* error);

// Sets g_ModuleDir, g_SettingsPath, g_LanguagePath (the configured language or the locale's
// default) and g_ChannelCount (1..128). False with kMissingSettingsMessage when moduleDir
// holds no setting.ini.
bool LoadStartupSettings(const std::string& moduleDir, std::string* error);
