// Process-wide paths and values, set once at start-up and read everywhere.
#pragma once

#include <string>

extern std::string g_ModuleDir;
extern std::string g_SettingsPath;
extern std::string g_LanguagePath;
extern int g_ChannelCount;

constexpr int kMaxChannelCount = 128;

// Directory of the running executable, without a trailing separator.
std::string ExecutableDirectory();

// "chinese" when the user's locale is Simplified Chinese, else "english".
std::string DefaultLanguageName();

// Keeps a configured channel count inside the image's 128 channel records.
int ClampChannelCount(int count);

// Sets g_ModuleDir and g_SettingsPath for a program whose settings live in moduleDir.
void SetModuleDir(const std::string& moduleDir);

// Sets g_LanguagePath to the language file of that name beside the executable.
void SetLanguageName(const std::string& languageName);
