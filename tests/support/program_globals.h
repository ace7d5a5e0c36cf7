#pragma once

#include <string>

#include "support/temp_folder.h"

namespace halvex::test {

class ModuleFolder;

// The only place where tests set the programs' globals, each restored when its object goes.

// The programs' folder and its ports/ point at folder.
class UseModuleFolder {
public:
    explicit UseModuleFolder(const ModuleFolder& folder);
    ~UseModuleFolder();
    UseModuleFolder(const UseModuleFolder&) = delete;
    UseModuleFolder& operator=(const UseModuleFolder&) = delete;

private:
    std::string m_SavedModuleDir;
    std::string m_SavedPortsDir;
};

// The current language file is path.
class UseLanguagePath {
public:
    explicit UseLanguagePath(const std::string& path);
    ~UseLanguagePath();
    UseLanguagePath(const UseLanguagePath&) = delete;
    UseLanguagePath& operator=(const UseLanguagePath&) = delete;

private:
    std::string m_Saved;
};

// The user's configuration folder (XDG_CONFIG_HOME) is a fresh one, so the recent-file list
// and other stored choices of the tests stay away from the user's own.
class UseConfigHome {
public:
    UseConfigHome();
    ~UseConfigHome();
    UseConfigHome(const UseConfigHome&) = delete;
    UseConfigHome& operator=(const UseConfigHome&) = delete;

private:
    TempFolder m_Folder;
    std::string m_Saved;
    bool m_WasSet = false;
};

// New documents have count channels.
void SetChannelCount(int count);

}  // namespace halvex::test
