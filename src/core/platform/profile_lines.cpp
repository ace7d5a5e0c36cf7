// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile_lines.h"

#include "platform/text_encoding.h"

namespace {

bool IsBlank(char character) {
    return character == ' ' || character == '\t' || character == '\r';
}

size_t SkipBlanks(std::string_view text, size_t position, size_t end) {
    while (position < end && IsBlank(text[position])) {
        ++position;
    }
    return position;
}

size_t TrimBlanksBack(std::string_view text, size_t begin, size_t end) {
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return end;
}

char LowerAscii(char character) {
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character + ('a' - 'A'))
                                                : character;
}

}  // namespace

ProfileScanner::ProfileScanner(std::string_view contents)
    : m_Contents(contents), m_Position(HasUtf8Bom(contents) ? 3 : 0) {}

bool ProfileScanner::Next(ProfileLine* line) {
    if (m_Position >= m_Contents.size()) {
        return false;
    }
    *line = ProfileLine{};
    line->begin = m_Position;
    size_t newline = m_Contents.find('\n', m_Position);
    line->end = newline == std::string_view::npos ? m_Contents.size() : newline + 1;
    line->contentEnd = newline == std::string_view::npos ? m_Contents.size() : newline;
    if (line->contentEnd > line->begin && m_Contents[line->contentEnd - 1] == '\r') {
        --line->contentEnd;
    }
    m_Position = line->end;

    size_t first = SkipBlanks(m_Contents, line->begin, line->contentEnd);
    size_t last = TrimBlanksBack(m_Contents, first, line->contentEnd);
    if (first == last) {
        line->kind = ProfileLine::Kind::kBlank;
        return true;
    }
    char lead = m_Contents[first];
    if (lead == ';') {
        line->kind = ProfileLine::Kind::kComment;
        return true;
    }
    if (lead == '[') {
        size_t close = m_Contents.find(']', first);
        if (close == std::string_view::npos || close >= last) {
            line->kind = ProfileLine::Kind::kOther;
            return true;
        }
        size_t nameBegin = SkipBlanks(m_Contents, first + 1, close);
        size_t nameEnd = TrimBlanksBack(m_Contents, nameBegin, close);
        line->kind = ProfileLine::Kind::kSection;
        line->name = m_Contents.substr(nameBegin, nameEnd - nameBegin);
        return true;
    }
    size_t equals = m_Contents.find('=', first);
    if (equals == std::string_view::npos || equals >= last) {
        line->kind = ProfileLine::Kind::kOther;
        return true;
    }
    size_t nameEnd = TrimBlanksBack(m_Contents, first, equals);
    line->kind = ProfileLine::Kind::kKey;
    line->name = m_Contents.substr(first, nameEnd - first);
    line->valueBegin = SkipBlanks(m_Contents, equals + 1, last);
    line->valueEnd = last;
    return true;
}

bool SameProfileName(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (size_t index = 0; index < left.size(); ++index) {
        if (LowerAscii(left[index]) != LowerAscii(right[index])) {
            return false;
        }
    }
    return true;
}

std::string_view UnquoteProfileValue(std::string_view rawValue) {
    if (rawValue.size() >= 2 && (rawValue.front() == '"' || rawValue.front() == '\'') &&
        rawValue.back() == rawValue.front()) {
        return rawValue.substr(1, rawValue.size() - 2);
    }
    return rawValue;
}
