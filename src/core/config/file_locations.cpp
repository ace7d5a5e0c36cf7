// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/file_locations.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "config/settings.h"
#include "platform/atomic_file.h"
#include "platform/file_status.h"

namespace {

constexpr const char* kSettingsName = "setting.ini";
constexpr const char* kProgramFolder = "/halvex";

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// The XDG rule: a variable that is unset, empty or relative is ignored.
std::string XdgFolder(const std::string& value, const std::string& home, const char* fallback) {
    if (value.starts_with('/')) {
        return value;
    }
    return home.empty() ? std::string() : home + fallback;
}

// $XDG_STATE_HOME/halvex/backups, or ~/.local/state/halvex/backups when it is unset or not
// absolute; empty when neither variable helps.
std::string BackupFolder(const UserEnvironment& environment) {
    std::string base;
    if (environment.stateHome.starts_with('/')) {
        base = environment.stateHome;
    } else if (environment.home.starts_with('/')) {
        base = environment.home + "/.local/state";
    } else {
        return {};
    }
    return base + kProgramFolder + "/backups";
}

std::string ParentDirectory(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

UserEnvironment ProcessEnvironment() {
    UserEnvironment environment{Variable("HOME"), Variable("XDG_CONFIG_HOME"),
                                Variable("XDG_DATA_HOME"), Variable("XDG_STATE_HOME")};
    if (environment.home.empty()) {
        if (const passwd* entry = getpwuid(getuid());
            entry != nullptr && entry->pw_dir != nullptr) {
            environment.home = entry->pw_dir;
        }
    }
    return environment;
}

FileLocations PortableLocations(const std::string& executableDir) {
    FileLocations locations;
    locations.portable = true;
    locations.settingsPath = executableDir + "/" + kSettingsName;
    locations.dataDirs = {executableDir};
    locations.portsDir = executableDir + "/ports";
    return locations;
}

FileLocations LocateFiles(const std::string& executableDir, const UserEnvironment& environment) {
    FileLocations locations = PortableLocations(executableDir);
    // Backups are the user's own in both modes: a copy of a radio must outlive the folder a
    // portable program was run from.
    locations.backupsDir = BackupFolder(environment);
    if (IsRegularFile(locations.settingsPath)) {
        return locations;
    }
    std::string installedData = executableDir + "/" + HALVEX_RELATIVE_DATA_DIR;
    std::string config = XdgFolder(environment.configHome, environment.home, "/.config");
    std::string data = XdgFolder(environment.dataHome, environment.home, "/.local/share");

    locations.portable = false;
    locations.defaultSettingsPath = installedData + "/" + kSettingsName;
    locations.settingsPath.clear();
    locations.portsDir.clear();
    locations.dataDirs.clear();
    if (!config.empty()) {
        locations.settingsPath = config + kProgramFolder + "/" + kSettingsName;
        locations.portsDir = config + kProgramFolder + "/ports";
    }
    if (!data.empty()) {
        locations.dataDirs.push_back(data + kProgramFolder);
    }
    locations.dataDirs.push_back(installedData);
    return locations;
}

bool MakeDirectories(const std::string& path, std::string* error) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            return true;
        }
        if (error != nullptr) {
            *error = path + " exists and is not a folder";
        }
        return false;
    }
    std::string parent = ParentDirectory(path);
    if (parent != path && !MakeDirectories(parent, error)) {
        return false;
    }
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        if (error != nullptr) {
            *error = "cannot create the folder " + path + ": " + std::strerror(errno);
        }
        return false;
    }
    return true;
}

bool PrepareSettingsFile(const FileLocations& locations, std::string* error) {
    if (IsRegularFile(locations.settingsPath)) {
        return true;
    }
    std::ifstream source(locations.defaultSettingsPath, std::ios::binary);
    if (locations.portable || locations.settingsPath.empty() ||
        !IsRegularFile(locations.defaultSettingsPath) || !source) {
        if (error != nullptr) {
            *error = kMissingSettingsMessage;
        }
        return false;
    }
    std::ostringstream contents;
    contents << source.rdbuf();
    if (source.bad()) {
        if (error != nullptr) {
            *error = "cannot read " + locations.defaultSettingsPath;
        }
        return false;
    }
    std::string reason;
    if (!MakeDirectories(ParentDirectory(locations.settingsPath), &reason) ||
        !ReplaceFileContents(locations.settingsPath, contents.str(), &reason)) {
        if (error != nullptr) {
            *error = "cannot create " + locations.settingsPath + ": " + reason;
        }
        return false;
    }
    return true;
}
