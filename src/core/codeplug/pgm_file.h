// SPDX-License-Identifier: GPL-3.0-or-later
// The .pgm document file: a 48-byte header followed by the 8192-byte radio image.
// Loading never changes the file; saving never leaves a half-written file in its place.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "codeplug/radio_image.h"

constexpr size_t kPgmHeaderSize = 48;
constexpr size_t kPgmFileSize = kPgmHeaderSize + kImageSize;

// The bytes a loader checks, and the header text this program writes into a new document.
constexpr std::string_view kPgmIdentification = "RQ870 Radio Program data";
constexpr std::string_view kPgmOwnHeaderText = "RQ870 Radio Program data v1.08";

struct PgmFile {
    std::array<uint8_t, kPgmHeaderSize> header;
    std::array<uint8_t, kImageSize> image;
};

enum class PgmLoadResult {
    // Header and image come from the file; image bytes past the file's end are 0xFF.
    Loaded,
    // The file is not a radio data file; the result holds a new, empty file's contents.
    ForeignHeader,
    // The file could not be read; the message says why and the result is untouched.
    Failed,
};

// This program's own header (bytes 30-47 zero) and an image of 0xFF bytes.
PgmFile NewPgmFile();

// True when the header begins with kPgmIdentification.
bool HasPgmIdentification(const std::array<uint8_t, kPgmHeaderSize>& header);

// Reads path into file. An empty file loads as NewPgmFile(); bytes after the first
// kPgmFileSize are ignored. error gets a message for ForeignHeader and Failed; fileSize, when
// given, the length of the file that was read.
PgmLoadResult LoadPgmFile(const std::string& path, PgmFile* file, std::string* error,
                          size_t* fileSize = nullptr);

// True when LoadPgmFile's result and fileSize for path show a complete radio data file:
// exactly kPgmFileSize bytes beginning with kPgmIdentification. Anything else, sent to a radio,
// would erase what the file lacks; error says what is wrong (empty, header only, cut short,
// too long, foreign) and keeps LoadPgmFile's message when the load failed.
bool IsWholePgmFile(const std::string& path, PgmLoadResult result, size_t fileSize,
                    std::string* error);

// Writes the header and the image to a temporary file beside path, syncs it and renames it
// over path. On failure the old file is untouched and error says why.
bool SavePgmFile(const std::string& path, const PgmFile& file, std::string* error);
