// SPDX-License-Identifier: GPL-3.0-or-later
// The channel table's Edit commands for the page, as the desktop's run them: whole channels
// inserted, deleted, moved, cleared, cut, copied and pasted (exactly, or as a spreadsheet's
// text), one column set for many channels, a sort, a series of frequencies, Find; and what a
// radio or an imported text differs in, in the pages' words. Each change is one undo step
// named as the desktop names it; every word is the language file's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "codeplug/image_difference.h"
#include "web_document.h"

struct RowEdit {
    bool changed = false;
    // The status line: the step just taken, or why nothing changed.
    std::string note;
    // The channels chosen afterwards.
    std::vector<int> selected;
    // A box to show after it: a report (information) or a refusal (error) when refused.
    std::string message;
    bool refused = false;
    // The typed amount refused, by its place in the dialog from 0; -1 for none.
    int refusedField = -1;
    // Insert only: channels in use would fall off the end; ask this, then insert with drop.
    std::string question;
};

struct CopiedRows {
    // The clipboard's own format: the channels exactly.
    std::vector<uint8_t> exact;
    // The same channels as a spreadsheet takes them: tab-separated cells under a header.
    std::string text;
    std::string note;
};

// Which commands apply to the rows chosen (ascending) and the focus row (0 for none).
struct RowCommandStates {
    bool onSelection = false;  // cut, copy, delete, clear, set for selected, fill
    bool onTarget = false;     // paste, insert
    bool moveUp = false;
    bool moveDown = false;
};

RowCommandStates RowStatesFor(const WebDocument& document, const std::vector<int>& selection,
                              int target);

RowEdit InsertRows(WebDocument& document, int target, int count, bool dropInUse);
RowEdit DeleteRows(WebDocument& document, const std::vector<int>& channels);
RowEdit MoveRows(WebDocument& document, const std::vector<int>& channels, bool up);
RowEdit ClearRows(WebDocument& document, const std::vector<int>& channels);
CopiedRows CopyRows(const WebDocument& document, const std::vector<int>& channels);
// Copy, then clear; the page puts the copy on the clipboard first.
RowEdit CutRows(WebDocument& document, const std::vector<int>& channels);
// The exact channels when exact holds them, else the text (tab-separated or CSV), from
// target down.
RowEdit PasteRows(WebDocument& document, int target, const std::vector<uint8_t>& exact,
                  const std::string& text);

// Set for Selected Channels: the columns offered, and the value chosen (a list index, or for
// the transmit column an offset text, empty for no transmit).
std::vector<int> SettableColumns();
RowEdit SetColumnOfRows(WebDocument& document, const std::vector<int>& channels, int column,
                        int index, const std::string& offset);
// Sort Channels: key 0 receive, 1 name, 2 number; the selection or, when not selectionOnly,
// the whole table.
RowEdit SortRows(WebDocument& document, const std::vector<int>& channels, int key, bool descending,
                 bool selectionOnly);
// Fill Frequencies: the dialog's first line shows fillStart; the amounts are the typed texts.
std::string FillStart(const WebDocument& document, const std::vector<int>& channels);
RowEdit FillRows(WebDocument& document, const std::vector<int>& channels, const std::string& first,
                 const std::string& step, const std::string& shift);

struct FoundRow {
    int channel = 0;  // 0: none
    std::string status;
};
// The match of text nearest the focus row in direction (1 or -1), around the ends; the focus
// row itself counts when includeCurrent (as typing does, unlike Find Next).
FoundRow FindRow(const WebDocument& document, const std::string& text, int focusRow, int direction,
                 bool includeCurrent);

struct DifferenceList {
    std::string summary;
    std::vector<std::string> lines;
};
// Compare with Radio: the document against the radio's image read into a copy.
DifferenceList RadioDifferences(const WebDocument& document, const std::vector<uint8_t>& radio);

// The lines of a difference list, as the desktop's Compare with Radio and Import
// Configuration show them.
std::vector<std::string> DifferenceLines(const std::vector<ImageDifference>& differences);
