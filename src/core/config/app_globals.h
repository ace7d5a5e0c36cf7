// SPDX-License-Identifier: GPL-3.0-or-later
// Process-wide paths and values, set once at start-up and read everywhere.
#pragma once

#include <string>
#include <vector>

#include "codeplug/document_settings.h"
#include "config/file_locations.h"

extern std::string g_ModuleDir;
extern std::string g_SettingsPath;
extern std::string g_LanguagePath;
extern int g_ChannelCount;
// Language files and help pages: the first folder holding a name wins.
extern std::vector<std::string> g_DataDirs;
// Holds the ports/COMn links that name serial devices.
extern std::string g_PortsDir;
extern std::string g_BackupsDir;

constexpr int kMaxChannelCount = 128;

// Directory of the running executable, without a trailing separator.
std::string ExecutableDirectory();

// The locale the user's messages are in ("de_AT.UTF-8"), as the C library finds it; empty
// when none is set.
std::string SystemLocale();

// Keeps a configured channel count inside the image's 128 channel records.
int ClampChannelCount(int count);

// The document settings start-up has read: g_SettingsPath and g_ChannelCount.
DocumentSettings StartupDocumentSettings();

// Sets the paths for a program that keeps everything in moduleDir.
void SetModuleDir(const std::string& moduleDir);

// Sets g_ModuleDir to the executable's folder and the other paths from locations.
void UseFileLocations(const std::string& moduleDir, const FileLocations& locations);

// The first language file of that name in g_DataDirs (the first folder's when none has it).
std::string LanguageFilePath(const std::string& languageName);
// Sets g_LanguagePath to that file.
void SetLanguageName(const std::string& languageName);
