// A temporary program directory with setting.ini and a ports/ folder, for tests that run the
// link against the virtual radio.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/app_globals.h"
#include "support/virtual_radio_fixture.h"

using halvex::test::LinkSettings;
using halvex::test::PatternMemory;
using halvex::test::Setting;

class TemporaryModuleDir {
public:
    explicit TemporaryModuleDir(const std::string& name) {
        static int counter = 0;
        path =
            std::filesystem::temp_directory_path() /
            ("halvex-" + name + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path / "ports");
        m_SavedModuleDir = g_ModuleDir;
        m_SavedPortsDir = g_PortsDir;
        g_ModuleDir = path.string();
        g_PortsDir = (path / "ports").string();
    }
    ~TemporaryModuleDir() {
        g_ModuleDir = m_SavedModuleDir;
        g_PortsDir = m_SavedPortsDir;
        std::filesystem::remove_all(path);
    }

    std::string SettingsPath() const { return (path / "setting.ini").string(); }
    std::string PortLink(int n) const {
        return (path / "ports" / ("COM" + std::to_string(n))).string();
    }

    void WriteSettings(const LinkSettings& settings) const {
        halvex::test::WriteLinkSettings(SettingsPath(), settings);
    }

    // A port that is named but cannot be opened, whatever devices the machine has.
    void AddMissingPort(int n) const {
        std::filesystem::create_symlink(path / "no-such-device", PortLink(n));
    }

    std::filesystem::path path;

private:
    std::string m_SavedModuleDir;
    std::string m_SavedPortsDir;
};
