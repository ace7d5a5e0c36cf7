// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/codecs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "resources/tone_tables.h"

namespace {

constexpr std::string_view kNameSymbols = "0123456789- ABCDEFGHIJKLMNOPQRSTUVWXYZ_+*";
constexpr int kFirstInvertedTone = 155;
constexpr int kInvertedToneDistance = 104;
constexpr uint8_t kLastCtcssToneCode = 50;
constexpr int32_t kGapSnapEdge = 20000000;

// Moves the first five decimals before the point, so the leading digits read as 10 Hz steps.
std::string ShiftDecimals(std::string_view text) {
    std::string shifted(text);
    // Where the comma is the decimal separator, "146,52" means 146.52 MHz.
    if (size_t comma = shifted.find(',');
        comma != std::string::npos && shifted.find('.') == std::string::npos) {
        shifted[comma] = '.';
    }
    shifted += shifted.find('.') == std::string::npos ? ".00000" : "00000";
    const size_t point = shifted.find('.');
    shifted.insert(point + 6, 1, '.');
    shifted.erase(point, 1);
    return shifted;
}

bool IsCSpace(char character) {
    return character == ' ' || (character >= '\t' && character <= '\r');
}

// Reads leading digits as the C library's atol would, but saturates instead of overflowing
// and keeps the result inside what eight BCD digits hold.
int32_t ParseLeadingDigits(std::string_view text) {
    size_t position = 0;
    while (position < text.size() && IsCSpace(text[position])) {
        ++position;
    }
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        negative = text[position] == '-';
        ++position;
    }
    int64_t value = 0;
    for (; position < text.size() && text[position] >= '0' && text[position] <= '9'; ++position) {
        value = std::min<int64_t>(value * 10 + (text[position] - '0'), kMaxFrequencyValue + 1);
    }
    if (negative) {
        return 0;
    }
    return static_cast<int32_t>(std::min<int64_t>(value, kMaxFrequencyValue));
}

int32_t ClampFrequency(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, kMaxFrequencyValue));
}

std::array<uint8_t, 4> PackBcd(int32_t value) {
    int32_t rest = ClampFrequency(value);
    std::array<uint8_t, 4> packed{};
    for (uint8_t& byte : packed) {
        const int low = rest % 10;
        const int high = (rest / 10) % 10;
        byte = static_cast<uint8_t>(high << 4 | low);
        rest /= 100;
    }
    return packed;
}

int HexDigitValue(char character) {
    const auto code = static_cast<unsigned char>(character);
    if (code <= '9') {
        return code - 0x30;
    }
    return (code - 0x37) & 0x0F;
}

}  // namespace

int32_t FrequencyTextToValue(std::string_view text) {
    return ParseLeadingDigits(ShiftDecimals(text));
}

std::string FormatFrequencyValue(int32_t value) {
    const int32_t clamped = ClampFrequency(value);
    char text[16];
    std::snprintf(text, sizeof text, "%03d.%05d", clamped / 100000, clamped % 100000);
    return text;
}

std::string BcdToFrequencyText(const uint8_t* bytes4) {
    if (bytes4[3] > 0x99) {
        return "";
    }
    // A nibble above 9 holds no digit: shown as unknown, never as a hexadecimal letter that
    // would read back as another frequency.
    for (int index = 0; index < 4; ++index) {
        if ((bytes4[index] & 0x0F) > 9 || (bytes4[index] >> 4) > 9) {
            return "?";
        }
    }
    char text[16];
    std::snprintf(text, sizeof text, "%x%x.%x%02x%02x", bytes4[3], bytes4[2] >> 4, bytes4[2] & 0x0F,
                  bytes4[1], bytes4[0]);
    return text;
}

// Every text goes through its value before packing: a text not in the "%03d.%05d" form
// would otherwise put its point or junk characters into the nibbles.
std::array<uint8_t, 4> FrequencyTextToBcd(std::string_view text, bool round,
                                          const FrequencyLimits& limits) {
    if (text.empty()) {
        return {0xFF, 0xFF, 0xFF, 0xFF};
    }
    int32_t value = FrequencyTextToValue(text);
    if (round) {
        value = RoundToRaster(value, limits);
    }
    return PackBcd(value);
}

int32_t RoundToRaster(int32_t value, const FrequencyLimits& limits) {
    int64_t entry = ClampFrequency(value);
    if (limits.hasGaps && limits.m_FreqMin < kGapSnapEdge && limits.m_FreqMax >= kGapSnapEdge) {
        if (limits.m_Band1Top < entry && entry < limits.m_Band3Bottom) {
            entry = limits.m_FreqMin;
        } else if (limits.m_Band3Top < entry && entry < limits.m_Band2Bottom) {
            entry = limits.m_Band3Bottom;
        }
        entry = ClampFrequency(entry);
    }
    const int64_t rasterPoint = (entry + 75) / 625 * 625;
    if (rasterPoint / 100 == entry / 100) {
        return static_cast<int32_t>(rasterPoint);
    }
    int64_t remainder = entry % 500;
    if (remainder > 500 - remainder) {
        return static_cast<int32_t>((entry / 500 + 1) * 500);
    }
    remainder = entry % 250;
    if (remainder > 250 - remainder) {
        return static_cast<int32_t>((entry / 250 + 1) * 250);
    }
    return static_cast<int32_t>(entry / 250 * 250);
}

int CheckFrequencyRange(std::string_view text, const FrequencyLimits& limits) {
    if (text.empty()) {
        return 0;
    }
    const int32_t value = FrequencyTextToValue(text);
    if (value > limits.m_FreqMax) {
        return 1;
    }
    if (value < limits.m_FreqMin) {
        return -1;
    }
    return 0;
}

std::string FormatFrequencyLimit(int side, const FrequencyLimits& limits) {
    return FormatFrequencyValue(side > 0 ? limits.m_FreqMax : limits.m_FreqMin);
}

ToneByte EncodeTone(int index) {
    if (index < 0 || index >= kToneCount) {
        return {0, false};
    }
    if (index >= kFirstInvertedTone) {
        return {static_cast<uint8_t>(index - kInvertedToneDistance), true};
    }
    return {static_cast<uint8_t>(index), false};
}

int DecodeTone(uint8_t code, bool inverted) {
    if (code <= kLastCtcssToneCode) {
        return code;
    }
    if (code < kFirstInvertedTone) {
        return inverted ? code + kInvertedToneDistance : code;
    }
    if (code == kFirstInvertedTone) {
        return code;
    }
    return 0;
}

std::vector<std::string> ToneListTexts(const std::string& offText) {
    std::vector<std::string> texts{offText};
    for (int resource : {kCtcssTableResource, kDcsNormalTableResource, kDcsInvertedTableResource}) {
        const std::span<const char> table = FindBinaryResource(resource);
        for (size_t slot = 0; slot + kToneSlotSize <= table.size(); slot += kToneSlotSize) {
            const char* entry = table.data() + slot;
            texts.emplace_back(entry, strnlen(entry, kToneSlotSize));
        }
    }
    return texts;
}

std::array<uint8_t, 5> EncodeChannelName(std::string_view text) {
    std::array<uint8_t, 5> name;
    name.fill(0xFF);
    for (size_t position = 0; position < name.size() && position < text.size(); ++position) {
        char character = text[position];
        if (character >= 'a' && character <= 'z') {
            character = static_cast<char>(character - 'a' + 'A');
        }
        const size_t code = kNameSymbols.find(character);
        if (code == std::string_view::npos) {
            break;
        }
        name[position] = static_cast<uint8_t>(code);
    }
    return name;
}

std::string DecodeChannelName(const uint8_t* bytes5) {
    std::string text;
    for (size_t position = 0; position < 5 && bytes5[position] < kNameSymbols.size(); ++position) {
        text += kNameSymbols[bytes5[position]];
    }
    return text;
}

std::vector<uint8_t> HexToBytes(std::string_view hexCharacters) {
    std::vector<uint8_t> decoded(hexCharacters.size() / 2);
    for (size_t index = 0; index < decoded.size(); ++index) {
        const int high = HexDigitValue(hexCharacters[2 * index]);
        const int low = HexDigitValue(hexCharacters[2 * index + 1]);
        decoded[index] = static_cast<uint8_t>(high * 16 + low);
    }
    return decoded;
}
