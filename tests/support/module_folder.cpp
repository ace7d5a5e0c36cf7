// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/module_folder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/profile.h"

namespace halvex::test {

namespace {

[[noreturn]] void Stop(const std::string& what, const std::string& path, const std::string& why) {
    std::fprintf(stderr, "cannot %s %s: %s\n", what.c_str(), path.c_str(), why.c_str());
    std::abort();
}

}  // namespace

ModuleFolder::ModuleFolder(const std::string& prefix) : m_Folder(prefix) {
    std::error_code error;
    if (!std::filesystem::create_directory(PortsPath(), error)) {
        Stop("make", PortsPath(), error.message());
    }
}

std::string ModuleFolder::PortLink(int n) const {
    return PortsPath() + "/COM" + std::to_string(n);
}

void ModuleFolder::AddMissingPort(int n) const {
    std::error_code error;
    std::filesystem::create_symlink(File("no-such-device"), PortLink(n), error);
    if (error) {
        Stop("link", PortLink(n), error.message());
    }
}

void ModuleFolder::WriteSettings(const std::vector<SetupValue>& values) const {
    std::string text = "[setup]\n";
    for (const SetupValue& value : values) {
        text += value.key + "=" + value.value + "\n";
    }
    Write("setting.ini", text);
}

void ModuleFolder::ChangeSettings(const std::vector<SetupValue>& values) const {
    for (const SetupValue& value : values) {
        std::string error;
        if (!WriteProfileString(SettingsPath(), "setup", value.key, value.value, &error)) {
            Stop("change", SettingsPath(), error);
        }
    }
}

void ModuleFolder::CopyFromBin(const std::vector<std::string>& names) const {
    namespace fs = std::filesystem;
    for (const std::string& name : names) {
        const std::string source = std::string(HALVEX_BIN_DIR) + "/" + name;
        std::error_code error;
        fs::copy_file(source, File(name), fs::copy_options::overwrite_existing, error);
        if (!error) {
            fs::permissions(File(name), fs::perms::owner_read | fs::perms::owner_write,
                            fs::perm_options::replace, error);
        }
        if (error) {
            Stop("copy", source, error.message());
        }
    }
}

std::string LanguageFile(const std::string& display, const std::string& title,
                         const std::string& moreStrings, const std::string& resources,
                         const std::string& locale) {
    return "[Face]\ndisp=" + display + "\n" + (locale.empty() ? "" : "locale=" + locale + "\n") +
           "[String]\nIDS_WINDOWNAME=" + title + "\nIDS_UNTITLED=Untitled " + display +
           "\nIDS_PROMPT=Prompt\nIDS_ERROR=Error\nIDS_CHANNEL=Chan " + display +
           "\nIDS_FUNCTION=Func " + display + "\nIDS_VFOFREQ=Vfo " + display + "\nMenu_File=File " +
           display + "\nMenu_File_New=New " + display + "\n" + moreStrings + "[Resource]\n" +
           resources;
}

}  // namespace halvex::test
