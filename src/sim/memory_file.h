// SPDX-License-Identifier: GPL-3.0-or-later
// Where a virtual radio keeps its memory between runs: a .pgm file, or a bare 8192-byte
// dump. A file is saved back in the form it was found in, never half-written.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "codeplug/pgm_file.h"
#include "sim/clone_responder.h"

struct MemoryFile {
    bool raw = false;  // a bare dump rather than a .pgm file
    std::array<uint8_t, kPgmHeaderSize> header{};
    RadioMemory memory{};
};

// The form a new file at path gets: .pgm for that extension, a bare dump otherwise.
MemoryFile NewMemoryFile(const std::string& path, const RadioMemory& memory);

bool LoadMemoryFile(const std::string& path, MemoryFile* file, std::string* error);
bool SaveMemoryFile(const std::string& path, const MemoryFile& file, std::string* error);
