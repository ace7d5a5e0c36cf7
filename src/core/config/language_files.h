// SPDX-License-Identifier: GPL-3.0-or-later
// The language files of the data folders: listing them for the language dialog, choosing the
// next one and making one current.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Shown for a language file without a display name.
constexpr const char* kNoDisplayName = "-----";

struct LanguageChoice {
    std::string path;
    std::string displayName;
};

// Full paths of the regular files named "*.lang" (extension in any case) in dirs, in name
// order so that the next-language command always cycles the same way. A name found in
// several folders is taken from the first.
std::vector<std::string> LanguageFilePaths(const std::vector<std::string>& dirs);

// The files the language dialog lists: each with its "Face"/"disp" text ("-----" when it has
// none); a file whose display name is present but empty is left out.
std::vector<LanguageChoice> ListLanguageChoices(const std::vector<std::string>& dirs);

// The first listed file whose display name is exactly displayName.
std::optional<std::string> FindLanguageByDisplayName(const std::vector<std::string>& dirs,
                                                     const std::string& displayName);

// The file after currentPath, or the first file when currentPath is the last or not among
// them; nothing when dirs hold no language file.
std::optional<std::string> NextLanguagePath(const std::vector<std::string>& dirs,
                                            const std::string& currentPath);

// The "Face"/"locale" of a language file ("de", "pt_BR"): the system locale that picks it at
// the first start and the translations of Qt's own dialogs. Empty when the file names none.
std::string LanguageFileLocale(const std::string& path);

// A language, optionally with its territory: "de", "pt_BR", "es_419".
bool IsLocaleName(std::string_view locale);

struct LocaleChoice {
    std::optional<std::string> path;  // nothing when no file is written for the locale
    std::vector<std::string> notes;   // files whose locale could not be understood
};

// The language file for a system locale such as "de_AT.UTF-8": the file for its language and
// territory, else the one for its language alone, else any of its language (Portuguese of
// Brazil for Portugal). Hong Kong and Macau read Traditional Chinese as Taiwan does.
LocaleChoice LanguageForLocale(const std::vector<std::string>& dirs, std::string_view systemLocale);

// Paths name the same file when they are equal without regard to ASCII case.
bool SameLanguagePath(const std::string& a, const std::string& b);

// Makes path the current language file and records its name (without extension) as
// "setup"/"language". The switch happens even when the setting cannot be written; error then
// says that the choice will not survive a restart.
bool SelectLanguageFile(const std::string& path, std::string* error);
