// SPDX-License-Identifier: GPL-3.0-or-later
// Lookup of the texts the user sees in the current language file. All results are UTF-8.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

constexpr const char* kNotFoundText = "Not Found";

// Buffer sizes of the language file's sections; values keep at most one byte less.
constexpr size_t kStringBufferSize = 1000;
constexpr size_t kResourceBufferSize = 1024;
constexpr size_t kFaceBufferSize = 100;
constexpr size_t kListBufferSize = 30;

// The text of key in section "String" of g_LanguagePath with backslash-n and backslash-t
// turned into line feed and tab; "Not Found" when the key or the file is missing.
std::string LoadLangString(std::string_view key);
// The same in languagePath.
std::string LoadLangString(const std::string& languagePath, std::string_view key);
// text with its first %d, %d in turn taken by counts, then its %s by list; a placeholder the
// text lacks is left out, so a translation may drop one.
std::string FillLangText(std::string text, std::initializer_list<int> counts,
                         const std::string& list = {});
// FillLangText of LoadLangString(key).
std::string LoadLangStringWith(std::string_view key, std::initializer_list<int> counts,
                               const std::string& list = {});

// The value as it stands (no escapes), cut to bufferSize - 1 bytes of the file's own
// encoding without splitting a character; defaultValue when missing.
std::string LoadLangText(const std::string& languagePath, std::string_view section,
                         std::string_view key, std::string_view defaultValue, size_t bufferSize);

// The values of keys "0", "1", ... of section in languagePath, up to the first missing or
// empty one.
std::vector<std::string> LoadLangList(const std::string& languagePath, std::string_view section);
// The same in g_LanguagePath.
std::vector<std::string> LoadLangList(std::string_view section);

// The text of key id in section "Resource" of g_LanguagePath; empty when missing.
std::string LoadResourceText(int id);
