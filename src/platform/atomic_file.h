// SPDX-License-Identifier: GPL-3.0-or-later
// Replaces a file's content so that a crash or a full disk leaves either the old or the new
// content, never a mixture.
#pragma once

#include <string>
#include <string_view>

// Writes contents to a temporary file beside path, flushes it to the disk and renames it over
// path (over the target when path is a symbolic link). A new file gets mode 0666 less the
// umask, an existing one keeps its mode. False with a message on failure; path is untouched.
bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* error);
