// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/radiogram_codes.h"

#include <algorithm>

namespace {

constexpr int kLowestMegahertz = 65;
constexpr size_t kLongestMegahertz = 3;

bool IsDigit(char character) {
    return character >= '0' && character <= '9';
}

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsDigit);
}

}  // namespace

std::string FmCodeText(int code) {
    return std::to_string(kLowestMegahertz + code / 10) + "M" + std::to_string(code % 10);
}

std::optional<int> FmCodeFromText(std::string_view text) {
    const size_t mark = text.find_first_of(".Mm");
    const std::string_view whole = text.substr(0, mark);
    std::string_view decimals = mark == std::string_view::npos ? "" : text.substr(mark + 1);
    // "87M5" has its one tenths digit; a MHz text may carry zeros past it.
    const bool pageForm = mark != std::string_view::npos && text[mark] != '.';
    if (whole.empty() || whole.size() > kLongestMegahertz || !AllDigits(whole) ||
        !AllDigits(decimals) || (mark != std::string_view::npos && decimals.empty()) ||
        (pageForm && decimals.size() != 1)) {
        return std::nullopt;
    }
    if (decimals.size() > 1 &&
        !std::all_of(decimals.begin() + 1, decimals.end(), [](char c) { return c == '0'; })) {
        return std::nullopt;
    }
    int megahertz = 0;
    for (const char digit : whole) {
        megahertz = megahertz * 10 + (digit - '0');
    }
    const int tenths = decimals.empty() ? 0 : decimals.front() - '0';
    const int code = (megahertz - kLowestMegahertz) * 10 + tenths;
    if (megahertz < kLowestMegahertz || code > kFmHighestCode) {
        return std::nullopt;
    }
    return code;
}

std::vector<std::string> FmFrequencyList() {
    std::vector<std::string> list;
    list.reserve(kFmEmptyPreset + 1);
    for (int code = 0; code <= kFmHighestCode; ++code) {
        list.push_back(FmCodeText(code));
    }
    return list;
}

std::vector<std::string> FmPresetList() {
    std::vector<std::string> list = FmFrequencyList();
    list.push_back(kFmEmptyPresetText);
    return list;
}
