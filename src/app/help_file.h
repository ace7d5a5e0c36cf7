// Where the help of the current language lives.
#pragma once

#include <optional>
#include <string>

// The language file's path with its extension replaced by ".chm", then by ".html": the
// first that exists. Nothing, and the expected ".chm" path in missingPath, when neither does.
std::optional<std::string> FindHelpFile(const std::string& languagePath, std::string* missingPath);
