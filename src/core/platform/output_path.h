// SPDX-License-Identifier: GPL-3.0-or-later
// Checks on a file the program is about to create or replace, made before anything slow or
// irreversible starts (such as waking the radio), so a bad output path costs nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// False with a message naming path when it is a symbolic link the kernel's protected-symlinks
// rule would not follow: in a sticky, world-writable folder such as /tmp, owned neither by
// us nor by the folder's owner. Another user could point such a link at any of our files.
bool IsFollowableOutputLink(const std::string& path, std::string* error);

// The file a write to path lands in: path itself, or the end of its chain of symbolic links,
// which need not exist yet, so the links stay links. False with a message for a loop, a chain
// too long, or a link refused above.
bool ResolveOutputTarget(const std::string& path, std::string* target, std::string* error);

// The name an export of the file at path suggests: its extension replaced by extension; a
// path with none, or no path, as it is.
std::string WithExtension(const std::string& path, std::string_view extension);

// The most bytes a file name (one path component) may have in folder.
size_t LongestNameIn(const std::string& folder);

// False with a message when path cannot take a new file: its name is too long, its folder is
// missing or takes no new file, it is a folder or another non-regular file, it is a link
// refused above, it is read-only, or it is the same file as one of inputs (files the command
// reads, such as the settings file), compared by device and inode so that links and hard links
// count. A link is checked as the file it leads to.
bool CheckOutputPath(const std::string& path, const std::vector<std::string>& inputs,
                     std::string* error);
