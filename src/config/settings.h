// SPDX-License-Identifier: GPL-3.0-or-later
// The "setup" section of setting.ini and the values read from it at start-up.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "config/file_locations.h"

// Shown when the program's directory has no setting.ini; no language file is chosen yet.
constexpr const char* kMissingSettingsMessage = "Can not find the file setting.ini!";

std::string ReadSetupString(std::string_view key, std::string_view defaultValue, size_t bufferSize);
int ReadSetupInt(std::string_view key, int defaultValue);
bool WriteSetupString(std::string_view key, std::string_view value, std::string* error);

// Sets the process-wide paths by the location rule (portable when moduleDir holds a
// setting.ini; the user's folders of environment otherwise, creating the user's setting.ini
// from the installed default), then g_LanguagePath (the configured language or the locale's
// default) and g_ChannelCount (1..128). False with kMissingSettingsMessage when there is no
// setting.ini to use, with the reason the user's copy could not be made, or with why the file
// is no settings file. notes, when given, get what is missing or out of range and left at its
// default, for the user to be told. Without an environment only moduleDir is looked at.
bool LoadStartupSettings(const std::string& moduleDir, std::string* error,
                         const UserEnvironment& environment = {},
                         std::vector<std::string>* notes = nullptr);
