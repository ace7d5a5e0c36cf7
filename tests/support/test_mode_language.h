// SPDX-License-Identifier: GPL-3.0-or-later
// A language file whose TestData section the test writes, made current for the test's life.
#pragma once

#include <string>
#include <vector>

#include "support/program_globals.h"
#include "support/temp_folder.h"

class TemporaryTestDataLanguage {
public:
    explicit TemporaryTestDataLanguage(const std::vector<std::string>& testDataLines)
        : m_Language(m_Folder.Write("test.lang", Contents(testDataLines))) {}

    std::string Path() const { return m_Folder.File("test.lang"); }

    // Lines "0=Item 0" .. for count items.
    static std::vector<std::string> NumberedItems(int count) {
        std::vector<std::string> lines;
        for (int k = 0; k < count; ++k) {
            lines.push_back(std::to_string(k) + "=Item " + std::to_string(k));
        }
        return lines;
    }

private:
    static std::string Contents(const std::vector<std::string>& testDataLines) {
        std::string text = "[String]\r\nIDS_ERROR=Error\r\n[TestData]\r\n";
        for (const std::string& line : testDataLines) {
            text += line + "\r\n";
        }
        return text;
    }

    halvex::test::TempFolder m_Folder;
    halvex::test::UseLanguagePath m_Language;
};
