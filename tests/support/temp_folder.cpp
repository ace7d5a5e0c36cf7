// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

namespace halvex::test {

TempFolder::TempFolder(const std::string& prefix) {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        base = "/tmp";
    }
    std::string pattern = (base / (prefix + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        std::fprintf(stderr, "cannot make a temporary folder %s: %s\n", pattern.c_str(),
                     std::strerror(errno));
        std::abort();
    }
    m_Path = name.data();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

std::string TempFolder::Write(std::string_view name, std::string_view contents) const {
    const std::string path = File(name);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        std::abort();
    }
    return path;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

}  // namespace halvex::test
