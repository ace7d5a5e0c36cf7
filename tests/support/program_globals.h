// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "config/app_globals.h"
#include "support/module_folder.h"
#include "support/temp_folder.h"

namespace halvex::test {

// The only place where tests set the programs' globals and environment, each restored when its
// object goes.

// The programs' folder and its ports/ point at folder.
class UseModuleFolder {
public:
    explicit UseModuleFolder(const ModuleFolder& folder)
        : m_SavedModuleDir(g_ModuleDir), m_SavedPortsDir(g_PortsDir) {
        g_ModuleDir = folder.Path();
        g_PortsDir = folder.PortsPath();
    }
    ~UseModuleFolder() {
        g_ModuleDir = m_SavedModuleDir;
        g_PortsDir = m_SavedPortsDir;
    }
    UseModuleFolder(const UseModuleFolder&) = delete;
    UseModuleFolder& operator=(const UseModuleFolder&) = delete;

private:
    std::string m_SavedModuleDir;
    std::string m_SavedPortsDir;
};

// The current language file is path.
class UseLanguagePath {
public:
    explicit UseLanguagePath(const std::string& path) : m_Saved(g_LanguagePath) {
        g_LanguagePath = path;
    }
    ~UseLanguagePath() { g_LanguagePath = m_Saved; }
    // Another file for the rest of the object's life.
    void Switch(const std::string& path) { g_LanguagePath = path; }
    UseLanguagePath(const UseLanguagePath&) = delete;
    UseLanguagePath& operator=(const UseLanguagePath&) = delete;

private:
    std::string m_Saved;
};

// The user's configuration folder (XDG_CONFIG_HOME) is a fresh one, so the recent-file list
// and other stored choices of the tests stay away from the user's own.
class UseConfigHome {
public:
    UseConfigHome() : m_Folder("halvex_config") {
        const char* saved = std::getenv("XDG_CONFIG_HOME");
        m_Saved = saved != nullptr ? std::optional<std::string>(saved) : std::nullopt;
        setenv("XDG_CONFIG_HOME", m_Folder.Path().c_str(), 1);
    }
    ~UseConfigHome() {
        if (m_Saved) {
            setenv("XDG_CONFIG_HOME", m_Saved->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }
    UseConfigHome(const UseConfigHome&) = delete;
    UseConfigHome& operator=(const UseConfigHome&) = delete;

private:
    TempFolder m_Folder;
    std::optional<std::string> m_Saved;
};

// New documents have count channels.
inline void SetChannelCount(int count) {
    g_ChannelCount = count;
}

}  // namespace halvex::test
