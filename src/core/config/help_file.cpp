// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/help_file.h"

#include <filesystem>

#include "platform/file_status.h"

namespace {

std::string WithExtension(const std::string& path, const std::string& extension) {
    size_t slash = path.rfind('/');
    size_t dot = path.rfind('.');
    // A dot in a directory name is not the file's extension.
    bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

// Users read the path in messages and title bars: "/usr/share", not "/usr/bin/../share".
std::string Normal(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

}  // namespace

std::optional<std::string> FindHelpFile(const std::string& languagePath,
                                        const std::vector<std::string>& dataDirs,
                                        std::string* missingPath) {
    size_t slash = languagePath.rfind('/');
    std::string name = slash == std::string::npos ? languagePath : languagePath.substr(slash);
    std::vector<std::string> places = {languagePath};
    for (const std::string& dir : dataDirs) {
        places.push_back(dir + (name.starts_with('/') ? "" : "/") + name);
    }
    for (const std::string& place : places) {
        if (std::string candidate = WithExtension(place, ".html"); IsRegularFile(candidate)) {
            return Normal(candidate);
        }
    }
    if (missingPath != nullptr) {
        *missingPath = Normal(WithExtension(languagePath, ".html"));
    }
    return std::nullopt;
}

std::optional<std::string> FindEnglishHelpPage(const std::string& languagePath,
                                               const std::vector<std::string>& dataDirs) {
    size_t slash = languagePath.rfind('/');
    std::vector<std::string> places = {slash == std::string::npos ? "."
                                                                  : languagePath.substr(0, slash)};
    places.insert(places.end(), dataDirs.begin(), dataDirs.end());
    for (const std::string& dir : places) {
        if (std::string candidate = dir + "/english.html"; IsRegularFile(candidate)) {
            return Normal(candidate);
        }
    }
    return std::nullopt;
}
