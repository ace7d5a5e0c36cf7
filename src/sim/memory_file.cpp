// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/memory_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/atomic_file.h"

namespace {

bool EndsWith(const std::string& text, std::string_view suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    for (size_t k = 0; k < suffix.size(); ++k) {
        char c = text[text.size() - suffix.size() + k];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != suffix[k]) {
            return false;
        }
    }
    return true;
}

bool ReadDump(const std::string& path, RadioMemory* memory, std::string* error) {
    FILE* stream = std::fopen(path.c_str(), "rb");
    bool read = stream && std::fread(memory->data(), 1, memory->size(), stream) == memory->size();
    if (!read && error) {
        *error = "cannot read " + path + ": " + std::strerror(errno);
    }
    if (stream) {
        std::fclose(stream);
    }
    return read;
}

}  // namespace

MemoryFile NewMemoryFile(const std::string& path, const RadioMemory& memory) {
    MemoryFile file;
    file.raw = !EndsWith(path, ".pgm");
    file.header = NewPgmFile().header;
    file.memory = memory;
    return file;
}

bool LoadMemoryFile(const std::string& path, MemoryFile* file, std::string* error) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        if (error) {
            *error = "cannot read " + path + ": " + std::strerror(errno);
        }
        return false;
    }
    if (status.st_size == static_cast<off_t>(kImageSize)) {
        // A bare dump has no header to check; its size alone tells it apart.
        MemoryFile loaded = NewMemoryFile(path, {});
        if (!ReadDump(path, &loaded.memory, error)) {
            return false;
        }
        loaded.raw = true;
        *file = loaded;
        return true;
    }
    PgmFile pgm;
    PgmLoadResult result = LoadPgmFile(path, &pgm, error);
    if (result != PgmLoadResult::Loaded) {
        if (result == PgmLoadResult::ForeignHeader && error) {
            *error = path + " is neither a radio data file nor an 8192-byte memory dump";
        }
        return false;
    }
    file->raw = false;
    file->header = pgm.header;
    file->memory = pgm.image;
    return true;
}

bool SaveMemoryFile(const std::string& path, const MemoryFile& file, std::string* error) {
    if (file.raw) {
        return ReplaceFileContents(
            path,
            std::string_view(reinterpret_cast<const char*>(file.memory.data()), file.memory.size()),
            error);
    }
    PgmFile pgm;
    pgm.header = file.header;
    pgm.image = file.memory;
    return SavePgmFile(path, pgm, error);
}
