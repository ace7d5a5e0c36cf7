// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

namespace halvex::test {

// One key of section setup in setting.ini.
struct SetupValue {
    SetupValue(std::string name, int number)
        : key(std::move(name)), value(std::to_string(number)) {}
    SetupValue(std::string name, std::string text) : key(std::move(name)), value(std::move(text)) {}
    std::string key;
    std::string value;
};

// A folder laid out as the programs' own: setting.ini, language files and an empty ports/.
// A file that cannot be written or copied stops the test program, as TempFolder does: every
// case after it would test a folder that is not what it says.
class ModuleFolder {
public:
    explicit ModuleFolder(const std::string& prefix = "halvex_module");

    const std::string& Path() const { return m_Folder.Path(); }
    std::string File(std::string_view name) const { return m_Folder.File(name); }
    std::string SettingsPath() const { return File("setting.ini"); }
    std::string PortsPath() const { return File("ports"); }
    std::string PortLink(int n) const;
    // A port that is named but cannot be opened, whatever devices the machine has.
    void AddMissingPort(int n) const;

    // A new setting.ini with section setup holding values in the order given.
    void WriteSettings(const std::vector<SetupValue>& values) const;
    // Sets keys of section setup in the setting.ini there, through the programs' own INI layer.
    void ChangeSettings(const std::vector<SetupValue>& values) const;
    std::string Write(std::string_view name, std::string_view contents) const {
        return m_Folder.Write(name, contents);
    }
    // The whole file, or nothing when it is not there.
    std::string Read(std::string_view name) const { return ReadBytes(File(name)); }
    // The files as built beside the programs, writable by their owner as installed copies are.
    void CopyFromBin(const std::vector<std::string>& names) const;

private:
    TempFolder m_Folder;
};

// A language file with a display name, a window title and whatever else a test needs.
std::string LanguageFile(const std::string& display, const std::string& title,
                         const std::string& moreStrings = {}, const std::string& resources = {},
                         const std::string& locale = {});

}  // namespace halvex::test
