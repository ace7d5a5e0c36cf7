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
