// SPDX-License-Identifier: GPL-3.0-or-later
// Where the programs keep their files. Beside the executable when a setting.ini sits there
// (the build folder, a portable copy); otherwise in the user's XDG folders, with the
// installed data as defaults. The environment is a parameter so that tests never see the
// real home; this module never reads a global.
#pragma once

#include <string>
#include <vector>

// The variables the rule depends on, as the process was given them (empty when unset).
struct UserEnvironment {
    std::string home;
    std::string configHome;
    std::string dataHome;
    std::string stateHome;
};

// The process's own environment; HOME falls back to the password database.
UserEnvironment ProcessEnvironment();

struct FileLocations {
    bool portable = true;
    // The setting.ini to read and write; empty when the user has no home to keep it in.
    std::string settingsPath;
    // Installed mode: the copy made for a user who has no setting.ini yet.
    std::string defaultSettingsPath;
    // Language files and help pages, the first folder holding a name winning.
    std::vector<std::string> dataDirs;
    // ports/COMn links name the serial devices.
    std::string portsDir;
    // Copies of the radio's memory; in the user's state folder in both modes, empty when the
    // user has none.
    std::string backupsDir;
};

// Everything beside executableDir, as in the build folder.
FileLocations PortableLocations(const std::string& executableDir);

// Portable when executableDir holds a setting.ini; otherwise the XDG folders of environment
// and the data installed at executableDir/../share/halvex.
FileLocations LocateFiles(const std::string& executableDir, const UserEnvironment& environment);

// Makes sure locations.settingsPath exists, copying the installed default into the user's
// folder on the first start. False with the missing-settings message when there is neither,
// or with the reason when the copy cannot be written; nothing is left half written.
bool PrepareSettingsFile(const FileLocations& locations, std::string* error);

// mkdir -p with mode 0700 for the folders it creates. False with a message on failure.
bool MakeDirectories(const std::string& path, std::string* error);
