// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/ptt_id_code.h"

#include <optional>

namespace {

constexpr uint8_t kNoDigit = 0xFF;
constexpr uint8_t kFirstLetterCode = 10;
constexpr uint8_t kLastCode = 13;

std::optional<uint8_t> DigitCode(char character) {
    if (character >= '0' && character <= '9') {
        return static_cast<uint8_t>(character - '0');
    }
    if (character >= 'A' && character <= 'D') {
        return static_cast<uint8_t>(kFirstLetterCode + (character - 'A'));
    }
    if (character >= 'a' && character <= 'd') {
        return static_cast<uint8_t>(kFirstLetterCode + (character - 'a'));
    }
    return std::nullopt;
}

}  // namespace

std::string PttIdCodeText(const PttIdCode& code) {
    std::string text;
    for (uint8_t byte : code) {
        if (byte > kLastCode) {
            break;
        }
        text += byte < kFirstLetterCode ? static_cast<char>('0' + byte)
                                        : static_cast<char>('A' + (byte - kFirstLetterCode));
    }
    return text;
}

PttIdCode PttIdCodeFromText(std::string_view text) {
    PttIdCode code;
    code.fill(kNoDigit);
    for (size_t position = 0; position < code.size() && position < text.size(); ++position) {
        std::optional<uint8_t> digit = DigitCode(text[position]);
        if (!digit) {
            break;
        }
        code[position] = *digit;
    }
    return code;
}
