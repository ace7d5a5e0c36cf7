// A temporary program directory with setting.ini and a ports/ folder, for tests that run the
// link against the virtual radio.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "config/app_globals.h"
#include "sim/clone_responder.h"

// One key of section setup in setting.ini.
struct Setting {
    Setting(std::string name, int number) : key(std::move(name)), value(std::to_string(number)) {}
    Setting(std::string name, const char* text) : key(std::move(name)), value(text) {}
    std::string key;
    std::string value;
};
using LinkSettings = std::vector<Setting>;

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

    // The keys given over a search that is off, a direct cable on COM1 and 50 ms time-outs.
    void WriteSettings(const LinkSettings& settings) const {
        std::map<std::string, std::string> values = {{"searchcom", "0"},
                                                     {"rwtype", "1"},
                                                     {"com", "1"},
                                                     {"readtime", "50"},
                                                     {"writetime", "50"}};
        for (const Setting& setting : settings) {
            values[setting.key] = setting.value;
        }
        std::ofstream file(SettingsPath(), std::ios::trunc);
        file << "[setup]\r\n";
        for (const auto& [key, value] : values) {
            file << key << "=" << value << "\r\n";
        }
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

inline RadioMemory PatternMemory(int seed) {
    RadioMemory memory;
    for (size_t i = 0; i < memory.size(); ++i) {
        memory[i] = static_cast<uint8_t>((i * 31 + i / 256 + static_cast<size_t>(seed)) & 0xFF);
    }
    return memory;
}
