// SPDX-License-Identifier: GPL-3.0-or-later
// The band lines of the settings: which band words they describe and which frequency limits
// follow from them.
// A line too short for its form is unusable and is never read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/codecs.h"

constexpr int kBandLineCount = 16;

// Room the settings reader gives a line when matching it, and when computing limits.
constexpr size_t kBandLineMatchBufferSize = 32;
constexpr size_t kBandLineLimitsBufferSize = 60;

// Characters a line of each form must have.
constexpr size_t kSingleBandLineLength = 16;
constexpr size_t kMultiBandLineLength = 24;

constexpr size_t kBandWordSize = 4;
constexpr size_t kBandWordsSize = 3 * kBandWordSize;

// Characters 8-15 read as a decimal number are nonzero.
bool IsMultiBandLine(std::string_view line);

// True when the line holds all characters its form needs.
bool IsUsableBandLine(std::string_view line);

// The whole megahertz of edge m, from characters 4m+2, 4m+3 and 4m; 0 past the line's end.
int EdgeMegahertz(std::string_view line, int m);

// The image offset of the band word a single-band line belongs to, chosen by its upper edge.
size_t SingleBandWordOffset(std::string_view line);

// What a usable line writes into the image: the three band words of a multi-band line at
// their place, or the one band word of a single-band line in its slot.
struct BandLineWords {
    size_t offset;
    std::vector<uint8_t> bytes;
};
BandLineWords DecodeBandLineWords(std::string_view line);

// Limits of a usable line: lower edge to 5 kHz below the upper edge, gaps for a multi-band line.
FrequencyLimits BandLineLimits(std::string_view line);
