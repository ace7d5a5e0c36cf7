// SPDX-License-Identifier: GPL-3.0-or-later
// The values of the CSV columns and what the radio can hold of them: frequencies in MHz,
// tones, DCS codes, steps, power and names. Shared by the import and the export only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/codecs.h"

#include "editors/channel_csv.h"

// The current header's columns, in the order export writes them.
constexpr const char* kCsvColumns[] = {
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

// Megahertz with any number of decimals to 10 Hz steps, with or without a trailing "MHz".
// nullopt for anything but digits with at most one point, or above 999.99999 MHz; truncated tells
// that nonzero digits past the fifth decimal were dropped.
std::optional<int32_t> ParseMegahertz(std::string_view text, bool* truncated);
// Six decimals, as the format writes frequencies: 146.520000.
std::string FormatMegahertz(int32_t value);
// Five decimals without leading zeros, as reports show frequencies: 66.52000.
std::string ShownMegahertz(int64_t value);

// The ranges a channel frequency may take in the band: each from its lower edge to 5 kHz
// below its upper edge, the single range of a single-band model or the three of a
// multi-band one, lowest first.
struct FrequencyRange {
    int32_t lowest, highest;
};
std::vector<FrequencyRange> BandRanges(const FrequencyLimits& limits);
bool InBand(int64_t value, const std::vector<FrequencyRange>& ranges);
// "136.00000-173.99500, 220.00000-259.99500"
std::string RangesText(const std::vector<FrequencyRange>& ranges);

// Tone index 1-50 of a CTCSS frequency ("88.5"), nullopt when the radio lacks it.
std::optional<int> CtcssIndex(std::string_view text);
// The CTCSS text of tone index 1-50.
std::string CtcssText(int index);
// Tone index 51-154 of a DCS code ("023", "23"), normal polarity; nullopt when the radio
// lacks it. Add kDcsInvertedDistance for the inverted code.
std::optional<int> DcsIndex(std::string_view text);
// The three-digit DCS code of a tone index 51-258.
std::string DcsText(int index);
constexpr int kFirstDcsTone = 51;
constexpr int kFirstInvertedDcsTone = 155;
constexpr int kDcsInvertedDistance = 104;

// Step index 0-5 of a step in kHz ("12.50"), nullopt when the radio has no such step.
std::optional<int> StepIndex(std::string_view text);
// The step of index 0-5 in kHz with two decimals.
std::string StepText(int index);

// Watts of a power text ("5.0W", "4"), nullopt when it is not a number of watts.
std::optional<double> ParseWatts(std::string_view text);

// The name the radio stores for a CSV name: upper case, characters outside the radio's
// alphabet replaced by a space, and spaces dropped when it is longer than five characters.
std::string RadioChannelName(std::string_view text);

// Leading and trailing blanks removed.
std::string_view Trimmed(std::string_view text);
bool SameLetters(std::string_view left, std::string_view right);

// The wording with %1, %2, ... replaced by the arguments.
std::string Worded(const CsvWording& wording, const CsvReportText& text,
                   std::initializer_list<std::string> arguments = {});

// The text for one of something when count is 1, else the text for any other count: each
// language words the two apart.
inline const CsvReportText& ForCount(long count, const CsvReportText& one,
                                     const CsvReportText& other) {
    return count == 1 ? one : other;
}
