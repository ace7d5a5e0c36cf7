// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/atomic_file.h"
#include "platform/profile_lines.h"

namespace {

bool Fail(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = message;
    }
    return false;
}

std::string CutToBuffer(std::string_view value, size_t bufferSize) {
    if (bufferSize == 0) {
        return std::string();
    }
    return std::string(value.substr(0, bufferSize - 1));
}

// The reader hands values on as C strings, so nothing after a NUL byte is part of them.
std::string_view BeforeNul(std::string_view value) {
    return value.substr(0, value.find('\0'));
}

bool HasAny(std::string_view text, std::string_view characters) {
    return text.find_first_of(characters) != std::string_view::npos;
}

bool HasSurroundingBlanks(std::string_view text) {
    auto blank = [](char character) { return character == ' ' || character == '\t'; };
    return !text.empty() && (blank(text.front()) || blank(text.back()));
}

// Refuses what a profile line cannot hold: it would be read back as something else or
// break the lines around it.
bool CheckNames(std::string_view section, std::string_view key, std::string_view value,
                std::string* error) {
    using namespace std::string_view_literals;
    if (section.empty() || HasAny(section, "\r\n]\0"sv) || HasSurroundingBlanks(section)) {
        return Fail(error, "The section name \"" + std::string(BeforeNul(section)) +
                               "\" cannot be stored in a settings file");
    }
    if (key.empty() || HasAny(key, "\r\n=\0"sv) || HasSurroundingBlanks(key) ||
        key.front() == ';' || key.front() == '[') {
        return Fail(error, "The key name \"" + std::string(BeforeNul(key)) +
                               "\" cannot be stored in a settings file");
    }
    if (HasAny(value, "\r\n\0"sv)) {
        return Fail(error, "The value for \"" + std::string(key) +
                               "\" holds a line break or NUL byte and cannot be stored");
    }
    return true;
}

// Quotes a value the reader would otherwise trim or unquote, so it reads back unchanged.
std::string StoredValue(std::string_view value) {
    if (HasSurroundingBlanks(value) || UnquoteProfileValue(value).size() != value.size()) {
        std::string quoted(1, '"');
        quoted.append(value).push_back('"');
        return quoted;
    }
    return std::string(value);
}

}  // namespace

bool ReadProfileFile(const std::string& path, std::string* contents, std::string* error) {
    // Non-blocking, so a FIFO put in the file's place cannot hang the program.
    int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) {
        return Fail(error, "Cannot open " + path + ": " + std::strerror(errno));
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return Fail(error, path + " is not a regular file");
    }
    if (static_cast<unsigned long long>(status.st_size) > kMaxProfileFileSize) {
        close(descriptor);
        return Fail(error, path + " is too large for a settings file");
    }
    contents->clear();
    char block[65536];
    while (true) {
        ssize_t count = read(descriptor, block, sizeof block);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            int readError = errno;
            close(descriptor);
            return Fail(error, "Cannot read " + path + ": " + std::strerror(readError));
        }
        if (count == 0) {
            break;
        }
        contents->append(block, static_cast<size_t>(count));
        if (contents->size() > kMaxProfileFileSize) {
            close(descriptor);
            return Fail(error, path + " is too large for a settings file");
        }
    }
    close(descriptor);
    return true;
}

std::optional<std::string> FindProfileValue(std::string_view contents, std::string_view section,
                                            std::string_view key) {
    ProfileScanner scanner(contents);
    ProfileLine line;
    bool inSection = false;
    while (scanner.Next(&line)) {
        if (line.kind == ProfileLine::Kind::kSection) {
            inSection = SameProfileName(line.name, section);
        } else if (inSection && line.kind == ProfileLine::Kind::kKey &&
                   SameProfileName(line.name, key)) {
            std::string_view raw =
                contents.substr(line.valueBegin, line.valueEnd - line.valueBegin);
            return std::string(UnquoteProfileValue(raw));
        }
    }
    return std::nullopt;
}

std::optional<std::string> SetProfileValue(std::string_view contents, std::string_view section,
                                           std::string_view key, std::string_view value,
                                           std::string* error) {
    if (!CheckNames(section, key, value, error)) {
        return std::nullopt;
    }
    std::string stored = StoredValue(value);
    std::string lineEnding = contents.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";

    ProfileScanner scanner(contents);
    ProfileLine line;
    bool inSection = false;
    bool sectionSeen = false;
    bool insideFirstSection = false;
    ProfileLine lastOfFirstSection;
    while (scanner.Next(&line)) {
        if (line.kind == ProfileLine::Kind::kSection) {
            inSection = SameProfileName(line.name, section);
            insideFirstSection = inSection && !sectionSeen;
            sectionSeen = sectionSeen || inSection;
        } else if (inSection && line.kind == ProfileLine::Kind::kKey &&
                   SameProfileName(line.name, key)) {
            std::string result(contents.substr(0, line.valueBegin));
            result += stored;
            result += contents.substr(line.valueEnd);
            return result;
        }
        if (insideFirstSection && line.kind != ProfileLine::Kind::kBlank) {
            lastOfFirstSection = line;
        }
    }

    std::string keyLine = std::string(key) + "=" + stored;
    if (sectionSeen) {
        // A last line ending in a bare CR has no line ending yet.
        bool hasLineEnding = contents[lastOfFirstSection.end - 1] == '\n';
        std::string result(contents.substr(0, lastOfFirstSection.end));
        result += hasLineEnding ? keyLine + lineEnding : lineEnding + keyLine;
        result += contents.substr(lastOfFirstSection.end);
        return result;
    }
    std::string result(contents);
    if (!result.empty() && result.back() != '\n') {
        result += lineEnding;
    }
    result.append("[").append(section).append("]").append(lineEnding);
    result.append(keyLine).append(lineEnding);
    return result;
}

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              size_t bufferSize) {
    std::string contents;
    if (!ReadProfileFile(path, &contents, nullptr)) {
        return CutToBuffer(defaultValue, bufferSize);
    }
    std::optional<std::string> value = FindProfileValue(contents, section, key);
    return CutToBuffer(value ? BeforeNul(*value) : defaultValue, bufferSize);
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error) {
    std::string contents;
    struct stat status {};
    // A file we cannot read must not be replaced by one holding only this key.
    if (stat(path.c_str(), &status) == 0 || errno != ENOENT) {
        if (!ReadProfileFile(path, &contents, error)) {
            return false;
        }
    }
    std::optional<std::string> updated = SetProfileValue(contents, section, key, value, error);
    if (!updated) {
        return false;
    }
    return ReplaceFileContents(path, *updated, error);
}
