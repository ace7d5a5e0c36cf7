// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/example_files.h"

#include <filesystem>
#include <map>
#include <system_error>

namespace fs = std::filesystem;

std::vector<std::string> ExampleFolders(const std::string& executableDir,
                                        const std::vector<std::string>& dataDirs) {
    std::vector<std::string> folders;
    for (const std::string& dir : dataDirs) {
        folders.push_back(dir + "/examples");
    }
    folders.push_back(
        (fs::path(executableDir) / HALVEX_RELATIVE_EXAMPLES_DIR).lexically_normal().string());
    return folders;
}

std::vector<std::string> FindExampleFiles(const std::vector<std::string>& folders) {
    std::map<std::string, std::string> byName;
    for (const std::string& folder : folders) {
        std::error_code error;
        for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            const fs::path& path = entry->path();
            std::error_code typeError;
            if (path.extension() == ".pgm" && fs::is_regular_file(path, typeError)) {
                byName.emplace(path.filename().string(), path.string());
            }
        }
    }
    std::vector<std::string> paths;
    for (const auto& [name, path] : byName) {
        paths.push_back(path);
    }
    return paths;
}
