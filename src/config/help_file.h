// SPDX-License-Identifier: GPL-3.0-or-later
// Where the help of the current language lives.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The language file's path with its extension replaced by ".chm", then by ".html": the
// first that exists, beside the language file or else under the same name in one of
// dataDirs (a user's own language file may share the installed help). Nothing, and the
// expected ".chm" path in missingPath, when none does.
std::optional<std::string> FindHelpFile(const std::string& languagePath,
                                        const std::vector<std::string>& dataDirs,
                                        std::string* missingPath);

// The English help for a language that has none of its own: the first English page found
// (beside the language file or in dataDirs) whose name is ".html", since only a page can
// carry the note that says so. Nothing when there is none.
std::optional<std::string> FindEnglishHelpPage(const std::string& languagePath,
                                               const std::vector<std::string>& dataDirs);

// Writes the page at englishPage to outputPath with note, in the language of languageCode,
// as the first paragraph of its body; the page's links and styles still work from there.
bool WriteUntranslatedHelp(const std::string& englishPage, const std::string& note,
                           const std::string& languageCode, const std::string& outputPath,
                           std::string* error);
