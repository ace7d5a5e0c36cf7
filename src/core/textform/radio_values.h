// SPDX-License-Identifier: GPL-3.0-or-later
// The whole configuration as the texts a user sees, each with the place in the text file it
// came from: what a dump writes and what an apply reads. Only keys the tables define appear.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/channel_columns.h"
#include "codeplug/channel_row_ops.h"
#include "codeplug/radio_options.h"

class CHalvexDoc;

// Line and column from 1; 0 when the value has no place in a file (a dump's own values).
struct TextPlace {
    int line = 0;
    int column = 0;
};

struct TextValue {
    std::string text;
    TextPlace place;
};

using TextFields = std::map<std::string, TextValue>;

struct ChannelEntry {
    TextPlace place;
    bool clear = false;  // "12: ~" empties the channel
    TextFields fields;
};

// Bytes of the .pgm file a dump cannot express as values; offset counts from the start of
// the image, or of the header when inHeader.
struct ReservedRun {
    bool inHeader = false;
    size_t offset = 0;
    std::vector<uint8_t> bytes;
    TextPlace place;
};

inline constexpr const char* kVfoKeys[] = {"f1", "f2"};
inline constexpr int kVfoRecords[] = {kVfoF1, kVfoF2};
inline constexpr const char* kStepKey = "step";
inline constexpr const char* kPttIdCodeKey = "ptt_id_code";
// Under reserved: the record's 16 bytes and the name's 5 of RadioValues::emptyChannel.
inline constexpr const char* kEmptyChannelKey = "empty_channel";

struct RadioValues {
    std::optional<TextValue> band;
    std::map<int, ChannelEntry> channels;
    // A text with a channels section holds the whole channel table: a channel it leaves out
    // is empty.
    bool channelsGiven = false;
    std::array<std::optional<TextFields>, 2> vfos;
    TextFields options;
    std::optional<TextValue> fmFrequency;
    std::map<int, TextValue> fmPresets;
    // What every channel the text leaves empty holds, where that is not what a new document
    // holds: a radio keeps its erased channels all 0xFF.
    std::optional<ChannelSlot> emptyChannel;
    std::vector<ReservedRun> reserved;
};

// "ScanAdd" -> "scan_add", "BCL" -> "bcl", "DisplayF1" -> "display_f1".
std::string TextKey(std::string_view name);

// A one-word choice is written in lower case ("low", "off"); others as the program shows them.
std::string SpelledItem(std::string_view english);

// The channel table's texts as the text form writes them.
const ChannelTexts& TextChannelTexts();
std::vector<std::string> SpelledItems(const std::vector<std::string>& english);
// The items of a VFO's step and of option k of kRadioOptions, as the text form writes them.
const std::vector<std::string>& StepTexts();
const std::vector<std::string>& OptionTexts(size_t k);

// Whether a channel column is a key of a channel or of a VFO.
bool IsChannelKey(const ChannelColumnDefinition& column);
bool IsVfoKey(const ChannelColumnDefinition& column);

// The index of text among items, ignoring case; -1 when it is none of them. items is one of
// the lists above, which live as long as the program.
int ItemIndex(const std::vector<std::string>& items, std::string_view text);

// TextKey of a column of the channel table, and of option k of kRadioOptions.
const std::string& ColumnKey(const ChannelColumnDefinition& column);
const std::string& OptionKey(size_t k);

// The texts of one channel or VFO record, as a dump writes them.
TextFields RecordFields(const CHalvexDoc& document, int index, bool vfo);

// The texts of the document's band, channels, VFOs, options and FM presets. A stored value the
// text form could not read back (a broken frequency, a code past the list) is left out.
RadioValues ExtractRadioValues(const CHalvexDoc& document);

// The keys a channel, a VFO and the options section may hold, in the order a dump writes them.
std::vector<std::string> ChannelKeys();
std::vector<std::string> VfoKeys();
std::vector<std::string> OptionKeys();
