// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_csv_values.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "codeplug/codecs.h"

namespace {

constexpr std::string_view kNameAlphabet = "0123456789- ABCDEFGHIJKLMNOPQRSTUVWXYZ_+*";
constexpr size_t kRadioNameLength = 5;
constexpr int kCtcssCount = 50;
constexpr int kDcsCount = 104;
// The steps of the VFO page's step list, in hundredths of a kHz.
constexpr std::array<int64_t, 6> kSteps = {250, 500, 625, 1000, 1250, 2500};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal number as a count of 10^-places units. nullopt for anything but digits with at
// most one point; truncated tells that nonzero digits past the places were dropped.
std::optional<int64_t> ParseFixed(std::string_view text, int places, bool* truncated) {
    text = Trimmed(text);
    int64_t whole = 0;
    int64_t fraction = 0;
    int fractionDigits = 0;
    bool point = false;
    bool anyDigit = false;
    *truncated = false;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        anyDigit = true;
        if (!point) {
            whole = whole * 10 + (c - '0');
            if (whole > 1000000000) {
                return std::nullopt;
            }
        } else if (fractionDigits < places) {
            fraction = fraction * 10 + (c - '0');
            ++fractionDigits;
        } else if (c != '0') {
            *truncated = true;
        }
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    for (; fractionDigits < places; ++fractionDigits) {
        fraction *= 10;
    }
    int64_t scale = 1;
    for (int place = 0; place < places; ++place) {
        scale *= 10;
    }
    return whole * scale + fraction;
}

std::optional<int64_t> ParseExact(std::string_view text, int places) {
    bool truncated = false;
    std::optional<int64_t> value = ParseFixed(text, places, &truncated);
    return truncated ? std::nullopt : value;
}

const std::vector<std::string>& ToneTexts() {
    static const std::vector<std::string> texts = ToneListTexts("");
    return texts;
}

}  // namespace

std::optional<int32_t> ParseMegahertz(std::string_view text, bool* truncated) {
    text = Trimmed(text);
    if (text.size() > 3 && SameLetters(text.substr(text.size() - 3), "MHz")) {
        text.remove_suffix(3);
    }
    std::optional<int64_t> value = ParseFixed(text, 5, truncated);
    if (!value || *value > kMaxFrequencyValue) {
        return std::nullopt;
    }
    return static_cast<int32_t>(*value);
}

std::string FormatMegahertz(int32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%05d0", value / 100000, value % 100000);
    return text;
}

std::string ShownMegahertz(int64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%05lld", value < 0 ? "-" : "",
                  static_cast<long long>(std::abs(value) / 100000),
                  static_cast<long long>(std::abs(value) % 100000));
    return text;
}

std::vector<FrequencyRange> BandRanges(const FrequencyLimits& limits) {
    constexpr int32_t kLastStepBelowEdge = 500;
    std::vector<FrequencyRange> ranges;
    if (limits.hasGaps) {
        ranges = {{limits.m_FreqMin, limits.m_Band1Top - kLastStepBelowEdge},
                  {limits.m_Band3Bottom, limits.m_Band3Top - kLastStepBelowEdge},
                  {limits.m_Band2Bottom, limits.m_FreqMax}};
        std::erase_if(ranges, [](const FrequencyRange& range) {
            return range.lowest <= 0 || range.highest < range.lowest;
        });
        std::sort(ranges.begin(), ranges.end(),
                  [](const auto& left, const auto& right) { return left.lowest < right.lowest; });
    }
    // A line whose gaps make no sense keeps its outer edges, as the table does.
    if (ranges.empty()) {
        ranges = {{limits.m_FreqMin, limits.m_FreqMax}};
    }
    return ranges;
}

bool InBand(int64_t value, const std::vector<FrequencyRange>& ranges) {
    return std::any_of(ranges.begin(), ranges.end(), [value](const FrequencyRange& range) {
        return range.lowest <= value && value <= range.highest;
    });
}

std::string RangesText(const std::vector<FrequencyRange>& ranges) {
    std::string text;
    for (const FrequencyRange& range : ranges) {
        text += (text.empty() ? "" : ", ") + ShownMegahertz(range.lowest) + "-" +
                ShownMegahertz(range.highest);
    }
    return text;
}

std::optional<int> CtcssIndex(std::string_view text) {
    std::optional<int64_t> tenths = ParseExact(text, 1);
    for (int index = 1; tenths && index <= kCtcssCount; ++index) {
        if (ParseExact(ToneTexts()[static_cast<size_t>(index)], 1) == tenths) {
            return index;
        }
    }
    return std::nullopt;
}

std::string CtcssText(int index) {
    return ToneTexts()[static_cast<size_t>(index)];
}

std::optional<int> DcsIndex(std::string_view text) {
    text = Trimmed(text);
    if (text.empty() || text.size() > 3 || text.find('.') != std::string_view::npos) {
        return std::nullopt;
    }
    std::optional<int64_t> code = ParseExact(text, 0);
    for (int k = 0; code && k < kDcsCount; ++k) {
        if (ParseExact(DcsText(kFirstDcsTone + k), 0) == code) {
            return kFirstDcsTone + k;
        }
    }
    return std::nullopt;
}

std::string DcsText(int index) {
    // The list texts read D023N and D023I.
    return ToneTexts()[static_cast<size_t>(index)].substr(1, 3);
}

std::optional<int> StepIndex(std::string_view text) {
    std::optional<int64_t> hundredths = ParseExact(text, 2);
    for (size_t index = 0; hundredths && index < kSteps.size(); ++index) {
        if (kSteps[index] == *hundredths) {
            return static_cast<int>(index);
        }
    }
    return std::nullopt;
}

std::string StepText(int index) {
    const int64_t step = kSteps[static_cast<size_t>(index) % kSteps.size()];
    char text[16];
    std::snprintf(text, sizeof text, "%d.%02d", static_cast<int>(step / 100),
                  static_cast<int>(step % 100));
    return text;
}

std::optional<double> ParseWatts(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && (text.back() == 'W' || text.back() == 'w')) {
        text.remove_suffix(1);
    }
    std::optional<int64_t> milliwatts = ParseExact(text, 3);
    if (!milliwatts) {
        return std::nullopt;
    }
    return static_cast<double>(*milliwatts) / 1000.0;
}

std::string RadioChannelName(std::string_view text) {
    std::string name;
    for (size_t position = 0; position < text.size(); ++position) {
        const auto byte = static_cast<unsigned char>(text[position]);
        if (byte >= 0x80) {
            // One character of several UTF-8 bytes: none of them is in the alphabet.
            while (position + 1 < text.size() &&
                   (static_cast<unsigned char>(text[position + 1]) & 0xC0) == 0x80) {
                ++position;
            }
            name.push_back(' ');
            continue;
        }
        const char upper = static_cast<char>(std::toupper(byte));
        name.push_back(kNameAlphabet.find(upper) == std::string_view::npos ? ' ' : upper);
    }
    if (name.size() > kRadioNameLength) {
        std::erase(name, ' ');
    }
    if (name.size() > kRadioNameLength) {
        name.resize(kRadioNameLength);
    }
    return name;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameLetters(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (size_t index = 0; index < left.size(); ++index) {
        if (std::tolower(static_cast<unsigned char>(left[index])) !=
            std::tolower(static_cast<unsigned char>(right[index]))) {
            return false;
        }
    }
    return true;
}

std::string EnglishWording(const CsvReportText& text) {
    return text.english;
}

std::string Worded(const CsvWording& wording, const CsvReportText& text,
                   std::initializer_list<std::string> arguments) {
    const std::string pattern = wording(text);
    std::string result;
    for (size_t position = 0; position < pattern.size(); ++position) {
        const char next = position + 1 < pattern.size() ? pattern[position + 1] : '\0';
        const size_t argument = static_cast<size_t>(next - '1');
        if (pattern[position] == '%' && next >= '1' && next <= '9' && argument < arguments.size()) {
            result += *(arguments.begin() + static_cast<ptrdiff_t>(argument));
            ++position;
        } else {
            result.push_back(pattern[position]);
        }
    }
    return result;
}
