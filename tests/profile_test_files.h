// Scratch directories and raw file access for the profile, settings and language tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = testing::TempDir() + "halvex_profile_XXXXXX";
        m_Path = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        EXPECT_FALSE(m_Path.empty()) << "cannot create a scratch directory";
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& Path() const { return m_Path; }
    std::string File(std::string_view name) const { return m_Path + "/" + std::string(name); }

    std::string Write(std::string_view name, std::string_view contents) const {
        std::string path = File(name);
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

private:
    std::string m_Path;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

inline std::string TestDataPath(std::string_view relative) {
    return std::string(HALVEX_TEST_DATA_DIR) + "/" + std::string(relative);
}
