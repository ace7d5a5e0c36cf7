// SPDX-License-Identifier: GPL-3.0-or-later
// Channel lists in the generic CSV interchange format that ham radio programmers and
// repeater directories exchange. Import goes through the channel table's commit rules, so a
// row is stored exactly as typing it in would store it; every value that cannot be stored as
// written is reported, never changed silently.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/radio_image.h"

class CHalvexDoc;

enum class ChannelImportMode {
    Merge,      // the rows' channels are overwritten, all others stay
    Replace,    // the table becomes the file: channels the file does not name are cleared
    FillEmpty,  // rows whose channel is in use are skipped
};

// A text of the import report or the export notes: its language key and English wording,
// with %1, %2, ... where the values go.
struct CsvReportText {
    const char* key;
    const char* english;
};

// The wording of a report text: the English one on the command line, the language file's on
// the desktop.
using CsvWording = std::function<std::string(const CsvReportText&)>;
std::string EnglishWording(const CsvReportText& text);

struct ChannelImportResult {
    int importedRows = 0;
    std::vector<std::string> losses;  // one line per change, "row 12, Name: ..."
    int rowsPastEnd = 0;              // a paste's rows that fell past the last channel
};

// Stores the rows of text into channels 1..channelCount of doc. False with a message, and doc
// untouched, when text is not CSV or has no Frequency column.
bool ImportChannelCsv(std::string_view text, CHalvexDoc& doc, int channelCount,
                      ChannelImportMode mode, const CsvWording& wording,
                      ChannelImportResult* result, std::string* error);

// Pastes the rows from channel firstChannel down, overwriting whole channels: rows in file
// order, or keeping their distances when they name channels. Rows past lastChannel are
// reported and counted, never stored. Fails like ImportChannelCsv.
bool PasteChannelCsv(std::string_view text, CHalvexDoc& doc, int lastChannel, int firstChannel,
                     const CsvWording& wording, ChannelImportResult* result, std::string* error);

// PasteChannelCsv of the text a spreadsheet puts on the clipboard, its cells separated by
// tabs, or of CSV text (ClipboardSeparator tells them apart).
bool PasteChannelText(std::string_view text, CHalvexDoc& doc, int lastChannel, int firstChannel,
                      const CsvWording& wording, ChannelImportResult* result, std::string* error);

// What importing text would make of doc's image, computed on a copy so that nothing changes
// before the user agrees. Fails like ImportChannelCsv.
bool PreviewChannelImport(std::string_view text, const CHalvexDoc& doc, int channelCount,
                          ChannelImportMode mode, const CsvWording& wording,
                          std::array<uint8_t, kImageSize>* image, ChannelImportResult* result,
                          std::string* error);

// An import in which no row could land, which the command line refuses to save.
extern const CsvReportText kNoChannelImported;

// "12 rows imported, 3 changes reported."
std::string ImportSummary(const ChannelImportResult& result, const CsvWording& wording);

// Whether any of channels 1..channelCount is in use: a header alone is no channel list, and
// other programs refuse it, so nothing is exported without a channel.
bool HasChannelsToExport(const CHalvexDoc& doc, int channelCount);
extern const CsvReportText kNoChannelsToExport;

// Every used channel of 1..channelCount, with the current header. Values the format cannot
// carry are described in notes, one line each.
std::string ExportChannelCsv(const CHalvexDoc& doc, int channelCount, const CsvWording& wording,
                             std::vector<std::string>* notes);
// The used channels among channels, in ascending order, as ExportChannelCsv writes them; with
// separator '\t' the same cells as a spreadsheet takes them from the clipboard.
std::string ExportChannelCsvRows(const CHalvexDoc& doc, const std::vector<int>& channels,
                                 const CsvWording& wording, std::vector<std::string>* notes,
                                 char separator = ',');
