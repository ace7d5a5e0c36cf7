// SPDX-License-Identifier: GPL-3.0-or-later
// Where the help of the current language lives.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The language file's path with its extension replaced by ".html", the page the help window
// shows: the first that exists, beside the language file or else under the same name in one
// of dataDirs (a user's own language file may share the installed help). Nothing, and the
// expected path beside the language file in missingPath, when none does. Paths come
// normalised.
std::optional<std::string> FindHelpFile(const std::string& languagePath,
                                        const std::vector<std::string>& dataDirs,
                                        std::string* missingPath);

// The English page for a language that has none of its own: english.html beside the
// language file or in one of dataDirs, normalised. Nothing when there is none.
std::optional<std::string> FindEnglishHelpPage(const std::string& languagePath,
                                               const std::vector<std::string>& dataDirs);
