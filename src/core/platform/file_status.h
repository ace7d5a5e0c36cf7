// SPDX-License-Identifier: GPL-3.0-or-later
// What kind of file a path names, for the lookups that must skip folders and devices.
#pragma once

#include <string>

// True when path names a regular file, following symbolic links; false when it names
// nothing, a folder or a device.
bool IsRegularFile(const std::string& path);

// False with a message naming path when it exists but is not a regular file: reading a folder
// fails, and opening a pipe with no writer would wait for ever. A missing file passes: its
// reader says so in its own words.
bool CheckInputFile(const std::string& path, std::string* error);

// The whole of path into text, read to its end whatever size the file claims (files under /proc
// claim none). False with a message naming path and the reason; past limit bytes the message
// says the file is too large to be what (a noun such as "a channel list"). Only regular files
// are read.
bool ReadFileToEnd(const std::string& path, size_t limit, const std::string& what,
                   std::string* text, std::string* error);
