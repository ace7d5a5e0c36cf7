// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/band_lines.h"

#include <string>

#include "codeplug/radio_image.h"

namespace {

// Frequency values count 10 Hz steps.
constexpr int kStepsPerMegahertz = 100000;

// The three band words: below 200 MHz, from 300 MHz up, and 200 to 299 MHz.
constexpr size_t kLowBandWord = kBandWordOffset;
constexpr size_t kHighBandWord = kBandWordOffset + kBandWordSize;
constexpr size_t kMiddleBandWord = kBandWordOffset + 2 * kBandWordSize;

// The C library's atoi on a short field: blanks, an optional sign, then digits.
int LeadingInteger(std::string_view text) {
    size_t position = 0;
    while (position < text.size() &&
           (text[position] == ' ' || (text[position] >= '\t' && text[position] <= '\r'))) {
        ++position;
    }
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        negative = text[position] == '-';
        ++position;
    }
    int value = 0;
    while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
        value = value * 10 + (text[position] - '0');
        ++position;
    }
    return negative ? -value : value;
}

}  // namespace

bool IsMultiBandLine(std::string_view line) {
    // Eight characters hold at most 99999999, so the field cannot overflow an int.
    return line.size() > 8 && LeadingInteger(line.substr(8, 8)) != 0;
}

bool IsUsableBandLine(std::string_view line) {
    return line.size() >= (IsMultiBandLine(line) ? kMultiBandLineLength : kSingleBandLineLength);
}

int EdgeMegahertz(std::string_view line, int m) {
    size_t start = 4 * static_cast<size_t>(m);
    if (m < 0 || start + 4 > line.size()) {
        return 0;
    }
    const char digits[] = {line[start + 2], line[start + 3], line[start]};
    return LeadingInteger(std::string_view(digits, sizeof digits));
}

size_t SingleBandWordOffset(std::string_view line) {
    int upper = EdgeMegahertz(line, 1);
    if (upper < 200) {
        return kLowBandWord;
    }
    return upper < 300 ? kMiddleBandWord : kHighBandWord;
}

BandLineWords DecodeBandLineWords(std::string_view line) {
    bool multiBand = IsMultiBandLine(line);
    std::vector<uint8_t> decoded =
        HexToBytes(line.substr(0, multiBand ? kMultiBandLineLength : kSingleBandLineLength));
    decoded.resize(multiBand ? kBandWordsSize : kBandWordSize);
    return {multiBand ? kBandWordOffset : SingleBandWordOffset(line), decoded};
}

FrequencyLimits BandLineLimits(std::string_view line) {
    FrequencyLimits limits;
    limits.m_FreqMin = EdgeMegahertz(line, 0) * kStepsPerMegahertz;
    if (IsMultiBandLine(line)) {
        limits.m_FreqMax = EdgeMegahertz(line, 3) * kStepsPerMegahertz - 500;
        limits.hasGaps = true;
        limits.m_Band1Top = EdgeMegahertz(line, 1) * kStepsPerMegahertz;
        limits.m_Band2Bottom = EdgeMegahertz(line, 2) * kStepsPerMegahertz;
        limits.m_Band3Bottom = EdgeMegahertz(line, 4) * kStepsPerMegahertz;
        limits.m_Band3Top = EdgeMegahertz(line, 5) * kStepsPerMegahertz;
    } else {
        limits.m_FreqMax = EdgeMegahertz(line, 1) * kStepsPerMegahertz - 500;
    }
    return limits;
}
