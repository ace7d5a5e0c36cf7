#include "support/program_globals.h"

#include <cstdlib>

#include "app/app_globals.h"
#include "support/module_folder.h"

namespace halvex::test {

UseModuleFolder::UseModuleFolder(const ModuleFolder& folder)
    : m_SavedModuleDir(g_ModuleDir), m_SavedPortsDir(g_PortsDir) {
    g_ModuleDir = folder.Path();
    g_PortsDir = folder.PortsPath();
}

UseModuleFolder::~UseModuleFolder() {
    g_ModuleDir = m_SavedModuleDir;
    g_PortsDir = m_SavedPortsDir;
}

UseLanguagePath::UseLanguagePath(const std::string& path) : m_Saved(g_LanguagePath) {
    g_LanguagePath = path;
}

UseLanguagePath::~UseLanguagePath() {
    g_LanguagePath = m_Saved;
}

UseConfigHome::UseConfigHome() : m_Folder("halvex_config") {
    if (const char* saved = std::getenv("XDG_CONFIG_HOME")) {
        m_Saved = saved;
        m_WasSet = true;
    }
    setenv("XDG_CONFIG_HOME", m_Folder.Path().c_str(), 1);
}

UseConfigHome::~UseConfigHome() {
    if (m_WasSet) {
        setenv("XDG_CONFIG_HOME", m_Saved.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

void SetChannelCount(int count) {
    g_ChannelCount = count;
}

}  // namespace halvex::test
