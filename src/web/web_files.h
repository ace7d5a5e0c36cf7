// SPDX-License-Identifier: GPL-3.0-or-later
// The module's own files in the browser's memory: setting.ini, the language files and the
// .pgm file being opened or saved, which the core reads and writes by path as everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* kWebSettingsPath = "/halvex/setting.ini";
inline constexpr const char* kWebDefaultSettingsPath = "/halvex/defaults/setting.ini";
inline constexpr const char* kWebLanguageFolder = "/halvex/lang";
// Files being opened or saved; the working folder, so messages name a file as the user does.
inline constexpr const char* kWebFileFolder = "/halvex/files";

// Makes the folders and enters the file folder; false with the reason when it cannot.
bool PrepareWebFolders(std::string* error);

// A file name from the page as the core's files take it: the last part of a path, never
// empty, never a folder of its own ("untitled.pgm" for nothing usable).
std::string FilePathFor(const std::string& name);
// The name the page shows for a path the document is bound to.
std::string ShownFileName(const std::string& path);

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);
void RemoveFile(const std::string& path);

// text cut to at most characters UTF-8 characters, never inside one.
std::string CutName(const std::string& text, size_t characters);
