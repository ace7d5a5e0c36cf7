// SPDX-License-Identifier: GPL-3.0-or-later
// Edits of many channels at once: one column set to one value, and a series of frequencies.
// Each channel goes through the same commit rules as an entry in its cell; a channel the
// value cannot apply to is left as it was and named in the report.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "editors/channel_row_state.h"

class CHalvexDoc;

// What happened to each listed channel, by channel number, ascending.
struct BulkEditReport {
    std::vector<int> changed;
    std::vector<int> unchanged;      // already held the value
    std::vector<int> emptySkipped;   // no channel to change
    std::vector<int> lockedSkipped;  // the cell is locked
    std::vector<int> outOfBand;      // the frequency would leave the band
};

// Megahertz with an optional sign ("+0.6", "-5", "145.5"), in 10 Hz steps; kilohertz when
// asked ("12.5"). Nothing for other text or an amount past 999.99999 MHz.
std::optional<int32_t> ParseFrequencyAmount(std::string_view text, bool kilohertz);

// The columns Set for Selected Channels offers: the tones, the choices and the transmit
// frequency (as an offset from receive).
bool CanSetColumn(int column);

// The value of a column: a tone or choice index, or for the transmit column the offset of
// transmit from receive (nothing: no transmit frequency).
struct ColumnSetting {
    int column = 0;
    int index = 0;
    std::optional<int32_t> offset;
};

BulkEditReport SetColumnForChannels(CHalvexDoc& doc, const std::vector<int>& channels,
                                    const ColumnSetting& setting,
                                    const ChannelTableSettings& table);

// The used channels among 1..count whose name, receive or transmit frequency holds text,
// letters in either case; none for an empty text.
std::vector<int> FindChannels(const CHalvexDoc& doc, int count, std::string_view text);

// Receive on first, first + step, ... over the listed channels in ascending order (a
// channel's place in the list fixes its frequency, also when it is skipped), transmit on
// receive + shift. Empty channels start as a first entry starts them; a channel whose receive
// or transmit frequency would leave the band is not written.
BulkEditReport FillFrequencies(CHalvexDoc& doc, const std::vector<int>& channels, int32_t first,
                               int32_t step, int32_t shift, const ChannelTableSettings& table);
