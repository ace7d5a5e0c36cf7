// SPDX-License-Identifier: GPL-3.0-or-later
#include "textform/value_rules.h"

#include <algorithm>
#include <cctype>

#include "codeplug/ptt_id_code.h"
#include "codeplug/radio_image.h"

namespace {

constexpr size_t kListedItems = 8;

bool IsDigit(char character) {
    return character >= '0' && character <= '9';
}

// Three whole megahertz digits at most and five decimals at most, as the pages take them.
bool IsFrequencyText(std::string_view text) {
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    return !whole.empty() && whole.size() <= 3 && decimals.size() <= 5 &&
           (point == std::string_view::npos || !decimals.empty()) &&
           std::all_of(whole.begin(), whole.end(), IsDigit) &&
           std::all_of(decimals.begin(), decimals.end(), IsDigit);
}

std::string Quoted(std::string_view text) {
    std::string quoted = "'";
    quoted += text;
    quoted += "'";
    return quoted;
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    return upper;
}

std::string BandText(const FrequencyLimits& limits) {
    std::string text = FormatFrequencyValue(limits.m_FreqMin);
    text += '-';
    text += FormatFrequencyValue(limits.m_FreqMax);
    text += " MHz";
    return text;
}

}  // namespace

std::optional<std::string> FrequencyProblem(std::string_view text, const FrequencyLimits& limits,
                                            bool allowEmpty) {
    if (text.empty()) {
        if (allowEmpty) {
            return std::nullopt;
        }
        return "a frequency is needed, in MHz within " + BandText(limits);
    }
    if (!IsFrequencyText(text)) {
        return Quoted(text) + " is not a frequency; allowed: MHz with up to 5 decimals within " +
               BandText(limits);
    }
    if (CheckFrequencyRange(text, limits) != 0) {
        return Quoted(text) + " is outside the band " + BandText(limits);
    }
    return std::nullopt;
}

std::string AllowedItems(const std::vector<std::string>& items) {
    std::string text = "allowed: ";
    if (items.size() > kListedItems) {
        text += items.front();
        text += ", ";
        text += items[1];
        text += " ... ";
        text += items.back();
        return text;
    }
    for (size_t index = 0; index < items.size(); ++index) {
        if (index > 0) {
            text += ", ";
        }
        text += items[index];
    }
    return text;
}

std::optional<std::string> NameProblem(std::string_view text) {
    const std::array<uint8_t, kChannelNameSize> bytes = EncodeChannelName(text);
    const std::string upper = Upper(text);
    if (text.size() <= kChannelNameSize && DecodeChannelName(bytes.data()) == upper) {
        return std::nullopt;
    }
    return Quoted(text) + " is not a channel name; allowed: up to 5 of A-Z 0-9 space - _ + *";
}

std::optional<std::string> PttIdCodeProblem(std::string_view text) {
    const std::string upper = Upper(text);
    if (text.size() <= kPttIdCodeSize && PttIdCodeText(PttIdCodeFromText(text)) == upper) {
        return std::nullopt;
    }
    return Quoted(text) + " is not a PTT ID code; allowed: up to 6 of 0-9 A-D";
}
