// A language file whose TestData section the test writes, made current for the test's life.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/app_globals.h"

class TemporaryTestDataLanguage {
public:
    explicit TemporaryTestDataLanguage(const std::vector<std::string>& testDataLines) {
        static int counter = 0;
        m_Path = std::filesystem::temp_directory_path() /
                 ("halvex-test-mode-" + std::to_string(getpid()) + "-" + std::to_string(++counter) +
                  ".lang");
        std::ofstream file(m_Path, std::ios::trunc);
        file << "[String]\r\nIDS_ERROR=Error\r\n[TestData]\r\n";
        for (const std::string& line : testDataLines) {
            file << line << "\r\n";
        }
        m_SavedLanguagePath = g_LanguagePath;
        g_LanguagePath = m_Path.string();
    }
    ~TemporaryTestDataLanguage() {
        g_LanguagePath = m_SavedLanguagePath;
        std::filesystem::remove(m_Path);
    }

    std::string Path() const { return m_Path.string(); }

    // Lines "0=Item 0" .. for count items.
    static std::vector<std::string> NumberedItems(int count) {
        std::vector<std::string> lines;
        for (int k = 0; k < count; ++k) {
            lines.push_back(std::to_string(k) + "=Item " + std::to_string(k));
        }
        return lines;
    }

private:
    std::filesystem::path m_Path;
    std::string m_SavedLanguagePath;
};
