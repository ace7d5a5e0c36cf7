// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/app_globals.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "config/settings.h"
#include "platform/file_status.h"

std::string g_ModuleDir;
std::string g_SettingsPath;
std::string g_LanguagePath;
int g_ChannelCount = 1;
std::vector<std::string> g_DataDirs;
std::string g_PortsDir;
std::string g_BackupsDir;

std::string ExecutableDirectory() {
    std::string path(4096, '\0');
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) {
        return ".";
    }
    path.resize(static_cast<size_t>(length));
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string SystemLocale() {
    // The same precedence as the C library: LC_ALL, then LC_MESSAGES, then LANG.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "";
}

int ClampChannelCount(int count) {
    return std::clamp(count, 1, kMaxChannelCount);
}

DocumentSettings StartupDocumentSettings() {
    return DocumentSettingsFor(g_SettingsPath, ClampChannelCount(g_ChannelCount));
}

void SetModuleDir(const std::string& moduleDir) {
    UseFileLocations(moduleDir, PortableLocations(moduleDir));
}

void UseFileLocations(const std::string& moduleDir, const FileLocations& locations) {
    g_ModuleDir = moduleDir;
    g_SettingsPath = locations.settingsPath;
    g_DataDirs = locations.dataDirs;
    g_PortsDir = locations.portsDir;
    g_BackupsDir = locations.backupsDir;
}

std::string LanguageFilePath(const std::string& languageName) {
    std::string fileName = "/" + languageName + ".lang";
    for (const std::string& dir : g_DataDirs) {
        if (IsRegularFile(dir + fileName)) {
            return dir + fileName;
        }
    }
    return (g_DataDirs.empty() ? g_ModuleDir : g_DataDirs.front()) + fileName;
}

void SetLanguageName(const std::string& languageName) {
    g_LanguagePath = LanguageFilePath(languageName);
}
