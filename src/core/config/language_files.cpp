// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/language_files.h"

#include <dirent.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string_view>

#include "config/app_globals.h"
#include "config/language.h"
#include "config/setting_definitions.h"
#include "platform/file_status.h"

namespace {

constexpr std::string_view kLanguageExtension = ".lang";

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

bool HasLanguageExtension(std::string_view name) {
    return name.size() > kLanguageExtension.size() &&
           EqualIgnoringCase(name.substr(name.size() - kLanguageExtension.size()),
                             kLanguageExtension);
}

std::string NameWithoutExtension(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.size() - kLanguageExtension.size());
}

}  // namespace

std::vector<std::string> LanguageFilePaths(const std::vector<std::string>& dirs) {
    // Name to path; the user's own folder comes first, so its copy of a name wins.
    std::map<std::string, std::string> found;
    for (const std::string& dir : dirs) {
        std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(dir.c_str()), closedir);
        if (!directory) {
            continue;
        }
        while (dirent* entry = readdir(directory.get())) {
            std::string name(entry->d_name);
            std::string path = dir + "/" + name;
            if (HasLanguageExtension(name) && !found.contains(name) && IsRegularFile(path)) {
                found.emplace(name, path);
            }
        }
    }
    std::vector<std::string> paths;
    for (const auto& [name, path] : found) {
        paths.push_back(path);
    }
    return paths;
}

std::vector<LanguageChoice> ListLanguageChoices(const std::vector<std::string>& dirs) {
    std::vector<LanguageChoice> choices;
    for (const std::string& path : LanguageFilePaths(dirs)) {
        std::string display = LoadLangText(path, "Face", "disp", kNoDisplayName, kFaceBufferSize);
        if (!display.empty()) {
            choices.push_back({path, display});
        }
    }
    return choices;
}

std::optional<std::string> FindLanguageByDisplayName(const std::vector<std::string>& dirs,
                                                     const std::string& displayName) {
    for (const LanguageChoice& choice : ListLanguageChoices(dirs)) {
        if (choice.displayName == displayName) {
            return choice.path;
        }
    }
    return std::nullopt;
}

std::optional<std::string> NextLanguagePath(const std::vector<std::string>& dirs,
                                            const std::string& currentPath) {
    std::vector<std::string> paths = LanguageFilePaths(dirs);
    if (paths.empty()) {
        return std::nullopt;
    }
    auto current = std::find_if(paths.begin(), paths.end(), [&](const std::string& path) {
        return SameLanguagePath(path, currentPath);
    });
    if (current == paths.end() || current + 1 == paths.end()) {
        return paths.front();
    }
    return *(current + 1);
}

std::string LanguageFileLocale(const std::string& path) {
    return LoadLangText(path, "Face", "locale", "", kFaceBufferSize);
}

bool IsLocaleName(std::string_view locale) {
    auto all = [](std::string_view text, auto test) {
        return std::all_of(text.begin(), text.end(), test);
    };
    auto lower = [](char c) { return c >= 'a' && c <= 'z'; };
    auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::string_view language = locale.substr(0, locale.find('_'));
    if (language.size() < 2 || language.size() > 3 || !all(language, lower)) {
        return false;
    }
    if (language.size() == locale.size()) {
        return true;
    }
    std::string_view territory = locale.substr(language.size() + 1);
    return (territory.size() == 2 && all(territory, upper)) ||
           (territory.size() == 3 && all(territory, digit));
}

LocaleChoice LanguageForLocale(const std::vector<std::string>& dirs,
                               std::string_view systemLocale) {
    LocaleChoice choice;
    std::string wanted(systemLocale.substr(0, systemLocale.find_first_of(".@")));
    std::replace(wanted.begin(), wanted.end(), '-', '_');
    // The C library's names for the untranslated program.
    if (wanted.empty() || wanted == "C" || wanted == "POSIX") {
        return choice;
    }
    static const std::map<std::string, std::string> kSameWriting = {
        {"zh_HK", "zh_TW"}, {"zh_MO", "zh_TW"}, {"zh_SG", "zh_CN"}};
    if (auto same = kSameWriting.find(wanted); same != kSameWriting.end()) {
        wanted = same->second;
    }
    std::string language = wanted.substr(0, wanted.find('_'));
    int best = 0;
    for (const std::string& path : LanguageFilePaths(dirs)) {
        std::string locale = LanguageFileLocale(path);
        if (locale.empty()) {
            continue;
        }
        if (!IsLocaleName(locale)) {
            choice.notes.push_back(path + ": locale=" + locale +
                                   " is not a locale such as de or pt_BR; the file is not "
                                   "chosen by the system's language");
            continue;
        }
        bool sameLanguage = locale.substr(0, locale.find('_')) == language;
        int rank = locale == wanted                                        ? 3
                   : sameLanguage && locale.find('_') == std::string::npos ? 2
                   : sameLanguage                                          ? 1
                                                                           : 0;
        if (rank > best) {
            best = rank;
            choice.path = path;
        }
    }
    return choice;
}

bool SameLanguagePath(const std::string& a, const std::string& b) {
    return EqualIgnoringCase(a, b);
}

bool SelectLanguageFile(const std::string& path, std::string* error) {
    g_LanguagePath = path;
    return settings::kLanguage.Write(g_SettingsPath, NameWithoutExtension(path), error);
}
