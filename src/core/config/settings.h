// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: which setting.ini the programs use, its check, and the values read from it then.
#pragma once

#include <string>
#include <vector>

#include "codeplug/document_settings.h"
#include "config/file_locations.h"
#include "config/settings_check.h"

// Shown when the program's directory has no setting.ini; no language file is chosen yet.
constexpr const char* kMissingSettingsMessage = "Can not find the file setting.ini!";

// What a document takes from the settings file at settingsPath: its band lines, each read
// from the file when asked, and count channels.
DocumentSettings DocumentSettingsFor(const std::string& settingsPath, int channelCount);

// How start-up names the settings file in what it says: a window has room for the file's
// name only, a terminal line takes the whole path.
enum class SettingsNaming { kFileName, kPath };

// The start-up both programs share. Sets the process-wide paths by the location rule (portable
// when moduleDir holds a setting.ini; the user's folders of environment otherwise, creating
// the user's setting.ini from the installed default), or takes settingsPath as it is when one
// is given; checks the file and reads g_ChannelCount (1..128). False with kMissingSettingsMessage
// when there is no setting.ini to use, with the reason the user's copy could not be made, or
// with why the file is no settings file. check gets the file's wrong values and notes, for the
// caller to decide on; shownName the name they use.
bool StartSettings(const std::string& moduleDir, const UserEnvironment& environment,
                   const std::string& settingsPath, SettingsNaming naming, SettingsCheck* check,
                   std::string* shownName, std::string* error);

// The desktop's start-up: StartSettings, then g_LanguagePath (the configured language or the
// locale's default). A wrong value is left at its default; notes, when given, get each of them
// and what is missing, for the user to be told. Without an environment only moduleDir is
// looked at.
bool LoadStartupSettings(const std::string& moduleDir, std::string* error,
                         const UserEnvironment& environment = {},
                         std::vector<std::string>* notes = nullptr);
