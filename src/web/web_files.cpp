// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/atomic_file.h"

namespace {

bool MakeFolder(const std::string& path, std::string* error) {
    if (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) {
        return true;
    }
    *error = "Cannot make " + path + ": " + std::strerror(errno);
    return false;
}

}  // namespace

bool PrepareWebFolders(std::string* error) {
    for (const char* folder : {"/halvex", kWebLanguageFolder, kWebFileFolder}) {
        if (!MakeFolder(folder, error)) {
            return false;
        }
    }
    if (chdir(kWebFileFolder) != 0) {
        *error = std::string("Cannot enter ") + kWebFileFolder + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

std::string FilePathFor(const std::string& name) {
    std::string last = name.substr(
        name.find_last_of("/\\") == std::string::npos ? 0 : name.find_last_of("/\\") + 1);
    std::string cleaned;
    for (char c : last) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            cleaned += c;
        }
    }
    if (cleaned.empty() || cleaned == "." || cleaned == "..") {
        return "untitled.pgm";
    }
    return cleaned;
}

std::string ShownFileName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes,
                    std::string* error) {
    return ReplaceFileContents(path, std::string(bytes.begin(), bytes.end()), error);
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *error = "Cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    bytes->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        *error = "Cannot read " + path;
        return false;
    }
    return true;
}

void RemoveFile(const std::string& path) {
    if (unlink(path.c_str()) != 0 && errno != ENOENT) {
        std::fprintf(stderr, "halvex: cannot remove %s: %s\n", path.c_str(), std::strerror(errno));
    }
}

std::string CutName(const std::string& text, size_t characters) {
    size_t count = 0;
    for (size_t at = 0; at < text.size(); ++at) {
        const bool starts = (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
        if (starts && count++ == characters) {
            return text.substr(0, at);
        }
    }
    return text;
}
