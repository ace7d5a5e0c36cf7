// SPDX-License-Identifier: GPL-3.0-or-later
// Replaces a file's content so that a crash or a full disk leaves either the old or the new
// content, never a mixture.
#pragma once

#include <string>
#include <string_view>

// The temporary a write of the file named name goes through: ".name.tmp-XXXXXX" in its folder,
// hidden and recognisable, the name cut short when the whole would not fit the folder.
std::string TemporaryNamePattern(const std::string& name, size_t longestName);

// Writes contents to a temporary file beside path, flushes it to the disk and renames it over
// path; a symbolic link is written through to the file at the end of its chain (made when it is
// missing), so the link stays. A new file gets mode 0666 less the umask; an existing one keeps
// its mode, owner and group (a user who may not give a file away becomes its owner, as with any
// save by rename). Temporaries of this file left by a write that was killed are removed first.
// False with a message on failure; path is untouched.
bool ReplaceFileContents(const std::string& path, std::string_view contents, std::string* error);
