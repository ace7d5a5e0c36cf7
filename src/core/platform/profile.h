// SPDX-License-Identifier: GPL-3.0-or-later
// Reader and writer for INI "private profile" files (setting.ini and the language files).
// Byte oriented: names compare without regard to ASCII case, values come back undecoded.
// Every read goes to the file; a write never leaves a half-written file behind.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Files larger than this are refused: no settings or language file comes near it.
constexpr size_t kMaxProfileFileSize = 16 * 1024 * 1024;

// The value of key in section, or bufferSize - 1 bytes of it; defaultValue (cut the same way)
// when the file, the section or the key is missing or the file cannot be read.
std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              size_t bufferSize);

// Replaces the first value of key in section or adds the key; every other byte of the file
// stays as it was. On failure returns false with a message and the old file is untouched.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error);

// The whole content of a profile file; false with a message when it is missing, not a
// regular file, unreadable or too large.
bool ReadProfileFile(const std::string& path, std::string* contents, std::string* error);

// The uncut value of key in section of a file's content, or nothing when it has no such key.
std::optional<std::string> FindProfileValue(std::string_view contents, std::string_view section,
                                            std::string_view key);

// contents with the value of key in section replaced or added, as WriteProfileString stores it;
// nothing (and a message) when the names or the value cannot be stored in a profile line.
std::optional<std::string> SetProfileValue(std::string_view contents, std::string_view section,
                                           std::string_view key, std::string_view value,
                                           std::string* error);
