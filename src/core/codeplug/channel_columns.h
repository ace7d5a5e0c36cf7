// SPDX-License-Identifier: GPL-3.0-or-later
// The columns of the channel table, each defined once: its header, what it reads from the
// record, how the grid shows and edits it, its choices and the CSV columns that carry it. The
// grid, the printout, halvex-cli info, the difference list and the CSV interchange all work
// from this table, so a new column is added here, in its accessor and in the language files.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "codeplug/document.h"

enum ChannelColumn {
    kColumnNumber = 0,
    kColumnReceive = 1,
    kColumnDecode = 2,
    kColumnTransmit = 3,
    kColumnEncode = 4,
    kColumnPower = 5,
    kColumnBcl = 6,
    kColumnBandwidth = 7,
    kColumnScanAdd = 8,
    kColumnReverse = 9,
    kColumnPttId = 10,
    kColumnCompander = 11,
    kColumnName = 12,
};
constexpr int kChannelColumnCount = 13;

// What a cell holds, which also chooses its editor on the grid.
enum class ColumnKind { Number, Frequency, Tone, Choice, Name };

// When the grid's header wraps its text onto two lines.
enum class HeaderWrap { Never, Always, InEnglish };

// A text the table shows: its language key and its English wording, which the command line
// uses whatever the language.
struct ColumnText {
    const char* key;
    const char* english;
};

// The language section of the grid's headers.
inline constexpr const char* kChannelHeaderSection = "ChText";

struct ChannelColumnDefinition {
    ChannelColumn id;
    const char* headerKey;  // in kChannelHeaderSection
    const char* name;       // info --csv's header and the difference list's column
    const char* title;      // the column in English sentences
    ColumnKind kind;
    RecordSide side;  // of a frequency or tone column
    int width;        // on the grid, in pixels
    HeaderWrap headerWrap;
    std::span<const ColumnText> choices;  // by stored value
    // The tone or choice a cell shows, -1 for none; the text of the other kinds.
    int (*value)(const RadioImage& image, int n);
    std::string (*text)(const CHalvexDoc& document, int n);
    // Stores a choice; only choice columns have it.
    void (*store)(RadioImage& image, int n, int value);
    std::span<const char* const> csvColumns;  // of the interchange format; empty: not carried
    // Also a field of the two VFO records: a VFO key of the text form and a VFO line of a
    // difference.
    bool vfoField;
};

extern const std::array<ChannelColumnDefinition, kChannelColumnCount> kChannelColumns;

// The stored value a choice column shows, as its item index; 0 for other columns.
int ChoiceValue(const RadioImage& image, int n, int column);

// The words the cells show: the tone list (entry 0 the "off" text) and each choice column's
// items.
struct ChannelTexts {
    std::vector<std::string> tones;
    std::array<std::vector<std::string>, kChannelColumnCount> choices;
};
// The texts in the words wording gives each ColumnText: the language file's on the desktop,
// English on the command line.
ChannelTexts WordedChannelTexts(const std::function<std::string(const ColumnText&)>& wording);
const ChannelTexts& EnglishChannelTexts();

using ChannelRow = std::array<std::string, kChannelColumnCount>;

// Channel,Receive,Decode,Transmit,Encode,Power,BCL,Bandwidth,ScanAdd,Reverse,PttId,Compander,Name
const ChannelRow& ChannelRowHeader();

// Every cell of record n (a channel or a VFO) in the given words, also of an unused one.
ChannelRow ChannelRowTexts(const CHalvexDoc& document, int n, const ChannelTexts& texts);

// The fields joined by commas, without the line end.
std::string CsvLine(const ChannelRow& row);
