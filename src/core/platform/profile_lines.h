// SPDX-License-Identifier: GPL-3.0-or-later
// Splits the content of a profile file into classified lines, keeping byte offsets so a
// writer can change one value and leave every other byte alone.
#pragma once

#include <cstddef>
#include <string_view>

struct ProfileLine {
    enum class Kind { kBlank, kComment, kSection, kKey, kOther };
    Kind kind = Kind::kBlank;
    size_t begin = 0;       // first byte of the line
    size_t contentEnd = 0;  // first byte of the line ending (or the end of the file)
    size_t end = 0;         // first byte after the line ending
    std::string_view name;  // section name or key name, without surrounding blanks
    size_t valueBegin = 0;  // the value without surrounding blanks, quotes still on
    size_t valueEnd = 0;
};

class ProfileScanner {
public:
    explicit ProfileScanner(std::string_view contents);

    // The next line, false at the end of the content.
    bool Next(ProfileLine* line);

private:
    std::string_view m_Contents;
    size_t m_Position;
};

// ASCII case-insensitive equality, the way the profile reader compares names.
bool SameProfileName(std::string_view left, std::string_view right);

// The value as the reader returns it: one pair of matching surrounding quotes removed.
std::string_view UnquoteProfileValue(std::string_view rawValue);
