// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_settings.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "config/app_globals.h"
#include "config/language.h"
#include "config/language_files.h"
#include "config/setting_definitions.h"
#include "config/settings_check.h"
#include "web_files.h"

namespace {

std::string ReadText(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadWholeFile(path, &bytes, &error)) {
        return {};
    }
    return {bytes.begin(), bytes.end()};
}

// A language file is named by its file name alone, as the language setting keeps it.
bool IsLanguageFileName(const std::string& name) {
    constexpr std::string_view kExtension = ".lang";
    return name.size() > kExtension.size() && name.ends_with(kExtension) &&
           name.find_first_of("/\\") == std::string::npos && name[0] != '.';
}

std::string LanguagePath(const std::string& fileName) {
    return std::string(kWebLanguageFolder) + "/" + fileName;
}

bool Exists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

bool StartWebModule(std::string* error) {
    // The browser's C library starts with every permission masked, which would leave each
    // file the core writes unreadable to it.
    umask(022);
    if (!PrepareWebFolders(error)) {
        return false;
    }
    g_ModuleDir = "/halvex";
    g_SettingsPath = kWebSettingsPath;
    g_DataDirs = {kWebLanguageFolder};
    // The shipped file's notes are for whoever ships it; only a refusal stops the module.
    bool used = false;
    std::string message = UseSettingsText(DefaultSettingsText(), &used);
    if (!used) {
        *error = message;
    }
    return used;
}

std::string DefaultSettingsText() {
    return ReadText(kWebDefaultSettingsPath);
}

std::string UseSettingsText(const std::string& text, bool* used) {
    *used = false;
    // Checked under its own name in the working folder, so a refusal names the file as the
    // user knows it.
    const std::string candidate = "setting.ini";
    std::string error;
    if (!WriteWholeFile(candidate, {text.begin(), text.end()}, &error)) {
        return error;
    }
    const SettingsCheck check = CheckSettingsFile(candidate, "setting.ini");
    if (!check.refusal.empty()) {
        RemoveFile(candidate);
        return check.refusal;
    }
    if (std::rename(candidate.c_str(), kWebSettingsPath) != 0) {
        RemoveFile(candidate);
        return std::string("Cannot use the settings: ") + std::strerror(errno);
    }
    *used = true;
    g_ChannelCount = ClampChannelCount(settings::kChannelCount.Read(kWebSettingsPath));
    std::string notes;
    for (const BadSettingValue& bad : check.badValues) {
        notes += (notes.empty() ? "" : "\n") + BadValueMessage("setting.ini", bad, true);
    }
    for (const std::string& note : check.notes) {
        notes += (notes.empty() ? "" : "\n") + note;
    }
    return notes;
}

std::string SettingsText() {
    return ReadText(kWebSettingsPath);
}

int CableType() {
    return settings::kRwType.Read(kWebSettingsPath);
}

std::string SetCableType(int type) {
    std::string error;
    if (type != 1 && type != 2) {
        return "the cable type is 1 (direct) or 2 (echoing), not " + std::to_string(type);
    }
    settings::kRwType.Write(kWebSettingsPath, std::to_string(type), &error);
    return error;
}

bool VerifyAfterWrite() {
    return settings::kVerifyWrite.Read(kWebSettingsPath) != 0;
}

std::string SetVerifyAfterWrite(bool on) {
    std::string error;
    settings::kVerifyWrite.Write(kWebSettingsPath, on ? "1" : "0", &error);
    return error;
}

std::string AddLanguage(const std::string& fileName, const std::string& text) {
    if (!IsLanguageFileName(fileName)) {
        return "\"" + fileName + "\" is no language file name (name.lang)";
    }
    std::string error;
    WriteWholeFile(LanguagePath(fileName), {text.begin(), text.end()}, &error);
    return error;
}

std::string UseLanguage(const std::string& fileName) {
    if (!IsLanguageFileName(fileName) || !Exists(LanguagePath(fileName))) {
        return "no language file \"" + fileName + "\" was added";
    }
    std::string error;
    SelectLanguageFile(LanguagePath(fileName), &error);
    return error;
}

std::pair<std::string, std::string> ShownLanguage() {
    const size_t slash = g_LanguagePath.rfind('/');
    return {g_LanguagePath.substr(slash == std::string::npos ? 0 : slash + 1),
            ReadText(g_LanguagePath)};
}

std::string LanguageName(const std::string& fileName) {
    if (!IsLanguageFileName(fileName) || !Exists(LanguagePath(fileName))) {
        return {};
    }
    return LoadLangText(LanguagePath(fileName), "Face", "disp", kNoDisplayName, kFaceBufferSize);
}
