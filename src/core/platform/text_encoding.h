// SPDX-License-Identifier: GPL-3.0-or-later
// The two encodings a language file may be written in, and their conversion to UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class TextEncoding { kUtf8, kGb18030 };

bool IsValidUtf8(std::string_view bytes);
// True when every byte belongs to a whole GB18030 character.
bool IsValidGb18030(std::string_view bytes);

// True when bytes begin with the UTF-8 byte order mark.
bool HasUtf8Bom(std::string_view bytes);

// UTF-8 for files with a byte order mark or that are valid UTF-8, otherwise GB18030
// (a superset of the GBK and GB2312 files of Chinese systems).
TextEncoding DetectTextEncoding(std::string_view fileBytes);

// The longest prefix of bytes, at most limit bytes, that ends on a character boundary.
std::string_view CutAtCharacterBoundary(std::string_view bytes, size_t limit,
                                        TextEncoding encoding);

// bytes as UTF-8; bytes that do not decode become U+FFFD.
std::string DecodeToUtf8(std::string_view bytes, TextEncoding encoding);
