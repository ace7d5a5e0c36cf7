// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between the texts the pages show and the codes the radio image stores.
// Pure functions: they never touch the language layer; callers pass any texts they need.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The frequency range the current band accepts, in 10 Hz steps. The gap limits mean
// something only for a multi-band model, and only when hasGaps says so.
struct FrequencyLimits {
    int32_t m_FreqMin = 10000000;
    int32_t m_FreqMax = 52000000;
    bool hasGaps = false;
    int32_t m_Band1Top = 0, m_Band3Bottom = 0, m_Band3Top = 0, m_Band2Bottom = 0;
};

// The largest value eight packed BCD digits hold (999.99999 MHz).
constexpr int32_t kMaxFrequencyValue = 99999999;

// The number of tone indices: off, 50 CTCSS tones, 104 normal and 104 inverted DCS codes.
constexpr int kToneCount = 259;

// Megahertz text to 10 Hz steps; digits past the fifth decimal are dropped. Junk of any
// length converts without overflow and the value always lies in 0..kMaxFrequencyValue.
int32_t FrequencyTextToValue(std::string_view text);

// "%03d.%05d" of the value in megahertz.
std::string FormatFrequencyValue(int32_t value);

// Text of four packed BCD bytes, least significant first; "" when byte 3 is above 0x99, "?"
// when another nibble is above 9.
std::string BcdToFrequencyText(const uint8_t* bytes4);

// Four packed BCD bytes of a frequency text, rounded to the channel raster when asked;
// FF FF FF FF for an empty text. Every nibble of a non-empty result is a decimal digit.
std::array<uint8_t, 4> FrequencyTextToBcd(std::string_view text, bool round,
                                          const FrequencyLimits& limits);

// Snaps a value out of a band gap, then onto the nearest 6.25, 5 or 2.5 kHz point.
int32_t RoundToRaster(int32_t value, const FrequencyLimits& limits);

// -1 below m_FreqMin, 1 above m_FreqMax, 0 inside or for an empty text.
int CheckFrequencyRange(std::string_view text, const FrequencyLimits& limits);

// The limit an out-of-range entry is clamped to: m_FreqMax when side > 0, else m_FreqMin.
std::string FormatFrequencyLimit(int side, const FrequencyLimits& limits);

// A tone as stored in a channel record: the tone byte and its polarity bit.
struct ToneByte {
    uint8_t code;
    bool inverted;
};

// An index outside 0..kToneCount-1 is stored as no tone.
ToneByte EncodeTone(int index);
int DecodeTone(uint8_t code, bool inverted);

// The tone selector's entries: offText, then the tables' texts; position = tone index.
std::vector<std::string> ToneListTexts(const std::string& offText);

// Five name bytes of up to five characters; the first character without a code ends it.
std::array<uint8_t, 5> EncodeChannelName(std::string_view text);
std::string DecodeChannelName(const uint8_t* bytes5);

// One byte per pair of hexadecimal characters; an odd last character is ignored.
std::vector<uint8_t> HexToBytes(std::string_view hexCharacters);
