// SPDX-License-Identifier: GPL-3.0-or-later
// The language files of the data folders: listing them for the language dialog, choosing the
// next one and making one current.
#pragma once

#include <optional>
#include <string>
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

// Paths name the same file when they are equal without regard to ASCII case.
bool SameLanguagePath(const std::string& a, const std::string& b);

// Makes path the current language file and records its name (without extension) as
// "setup"/"language". The switch happens even when the setting cannot be written; error then
// says that the choice will not survive a restart.
bool SelectLanguageFile(const std::string& path, std::string* error);
