// SPDX-License-Identifier: GPL-3.0-or-later
// The whole configuration as a YAML text a user can read, diff, keep in git and apply again:
// the band, the channels, the VFOs, the options and the FM presets in the words the pages
// show, and in hex the bytes no value holds, so applying a dump gives back its file as a save
// stores it: exactly, but for the areas a save derives from the values.
// Nothing here writes a file or asks anything.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codeplug/document.h"
#include "textform/radio_apply.h"

inline constexpr int kRadioTextFormat = 1;
// A configuration is a few kilobytes; a larger text is not one.
inline constexpr size_t kLargestRadioText = 1 << 20;

std::string DumpRadioText(const CHalvexDoc& document);

// Stores text into document: over what document holds when into, else over a fresh document
// of the text's band (the band lines of document's settings). With into, a channel the text's
// channels section leaves out is empty all the same: document gives only what the text does
// not carry at all (a missing section or value, the header, kept bytes). The derived areas
// are made as Save and Write make them. A text that cannot be stored whole leaves document
// untouched; errors then lists every problem, in the order of the text. notes, when given,
// get the values the rules stored otherwise than written.
bool ApplyRadioText(std::string_view text, bool into, CHalvexDoc* document,
                    std::vector<TextError>* errors, std::vector<TextError>* notes = nullptr);

// What ApplyRadioText would store, the header and the image, leaving document as it is.
struct RadioTextResult {
    std::array<uint8_t, kPgmHeaderSize> header{};
    std::array<uint8_t, kImageSize> image{};
};
bool PreviewRadioText(std::string_view text, bool into, const CHalvexDoc& document,
                      RadioTextResult* result, std::vector<TextError>* errors,
                      std::vector<TextError>* notes = nullptr);

// "radio.yaml:42:17: channels.12.receive: what is wrong; what is allowed", without the line
// and column when the error has no place.
std::string TextErrorLine(const std::string& sourceName, const TextError& error);

// The first shown of errors as lines, then "radio.yaml: and 39950 more" when there are more.
inline constexpr size_t kShownTextErrors = 50;
std::vector<std::string> TextErrorLines(const std::string& sourceName,
                                        const std::vector<TextError>& errors,
                                        size_t shown = kShownTextErrors);

// A path ending in .yaml or .yml names the text form; anything else a .pgm file.
bool IsRadioTextPath(const std::string& path);

// The whole text of a text-form file; false with a message when it cannot be read or is too
// large to be a radio's configuration.
bool ReadRadioTextFile(const std::string& path, std::string* text, std::string* error);
