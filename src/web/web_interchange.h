// SPDX-License-Identifier: GPL-3.0-or-later
// The document's other files, as the desktop's File menu imports and exports them: a CSV
// channel list with the report of every change, and the whole radio as text with the list of
// its errors. A file's bytes are read by the core's own readers, every word is the core's,
// and an import is one undo step or nothing at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "web_document.h"

struct ChannelListExport {
    bool ok = false;
    std::string text;
    // What the format could not carry, one line each (IDS_CSV_EXPORT_NOTES above them).
    std::vector<std::string> notes;
    std::string message;
};

struct ChannelListImport {
    bool ok = false;
    // Why the file was refused, IDS_CSV_REFUSED first, when not ok.
    std::string message;
    // "12 rows imported, 3 changes reported." and the changes, one line each.
    std::string summary;
    std::vector<std::string> losses;
    // Whether the import would change the document at all.
    bool changes = false;
};

struct RadioTextImport {
    bool ok = false;
    // IDS_CONFIG_REFUSED, then every error with its place, when not ok.
    std::string message;
    std::vector<std::string> errors;
    bool changes = false;
    // What the import changes, one line each, as Compare with Radio words them, under the
    // summary (IDS_CONFIG_CHANGES, or IDS_CONFIG_SAME for none).
    std::string summary;
    std::vector<std::string> lines;
};

bool CanExportChannels(const WebDocument& document);
ChannelListExport ExportChannels(const WebDocument& document);
// replace: the table becomes the file; else only empty channels are filled. Nothing of the
// document changes unless apply is set and the file was taken whole.
ChannelListImport ImportChannels(WebDocument& document, const std::vector<uint8_t>& bytes,
                                 const std::string& name, bool replace, bool apply);

std::string ExportRadioText(const WebDocument& document);
RadioTextImport ImportRadioText(WebDocument& document, const std::vector<uint8_t>& bytes,
                                const std::string& name, bool apply);

// The name a file of another kind gets after the document's own: "radio.pgm" to "radio.csv".
std::string NameWithExtension(const WebDocument& document, const std::string& extension);
