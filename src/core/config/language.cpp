// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/language.h"

#include <optional>

#include "config/app_globals.h"
#include "platform/profile.h"
#include "platform/text_encoding.h"

namespace {

// One reading of a language file, so a list of many keys costs one file read.
class LanguageFile {
public:
    explicit LanguageFile(const std::string& path)
        : m_Readable(ReadProfileFile(path, &m_Contents, nullptr)),
          m_Encoding(DetectTextEncoding(m_Contents)) {}

    // The limit applies to the file's own bytes, as the buffer of the system reader did.
    std::optional<std::string> Find(std::string_view section, std::string_view key,
                                    size_t bufferSize) const {
        if (!m_Readable) {
            return std::nullopt;
        }
        std::optional<std::string> raw = FindProfileValue(m_Contents, section, key);
        if (!raw) {
            return std::nullopt;
        }
        std::string_view value(*raw);
        value = value.substr(0, value.find('\0'));
        size_t limit = bufferSize == 0 ? 0 : bufferSize - 1;
        return DecodeToUtf8(CutAtCharacterBoundary(value, limit, m_Encoding), m_Encoding);
    }

private:
    std::string m_Contents;
    bool m_Readable;
    TextEncoding m_Encoding;
};

std::string CutDefault(std::string_view defaultValue, size_t bufferSize) {
    size_t limit = bufferSize == 0 ? 0 : bufferSize - 1;
    return DecodeToUtf8(CutAtCharacterBoundary(defaultValue, limit, TextEncoding::kUtf8),
                        TextEncoding::kUtf8);
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string result;
    size_t position = 0;
    size_t found;
    while ((found = text.find(from, position)) != std::string_view::npos) {
        result += text.substr(position, found - position);
        result += to;
        position = found + from.size();
    }
    result += text.substr(position);
    return result;
}

}  // namespace

std::string LoadLangText(const std::string& languagePath, std::string_view section,
                         std::string_view key, std::string_view defaultValue, size_t bufferSize) {
    std::optional<std::string> value = LanguageFile(languagePath).Find(section, key, bufferSize);
    return value ? *value : CutDefault(defaultValue, bufferSize);
}

std::string LoadLangString(std::string_view key) {
    return LoadLangString(g_LanguagePath, key);
}

std::string FillLangText(std::string text, std::initializer_list<int> counts,
                         const std::string& list) {
    size_t from = 0;
    for (int count : counts) {
        size_t mark = text.find("%d", from);
        if (mark == std::string::npos) {
            break;
        }
        std::string number = std::to_string(count);
        text.replace(mark, 2, number);
        from = mark + number.size();
    }
    if (size_t mark = text.find("%s"); mark != std::string::npos) {
        text.replace(mark, 2, list);
    }
    return text;
}

std::string LoadLangStringWith(std::string_view key, std::initializer_list<int> counts,
                               const std::string& list) {
    return FillLangText(LoadLangString(key), counts, list);
}

std::string LoadLangString(const std::string& languagePath, std::string_view key) {
    // Escapes are replaced after decoding: in a GBK file a backslash byte can be the second
    // half of a Chinese character.
    std::string text = LoadLangText(languagePath, "String", key, kNotFoundText, kStringBufferSize);
    return ReplaceAll(ReplaceAll(text, "\\n", "\n"), "\\t", "\t");
}

std::vector<std::string> LoadLangList(std::string_view section) {
    return LoadLangList(g_LanguagePath, section);
}

std::vector<std::string> LoadLangList(const std::string& languagePath, std::string_view section) {
    LanguageFile file(languagePath);
    std::vector<std::string> entries;
    while (true) {
        std::optional<std::string> entry =
            file.Find(section, std::to_string(entries.size()), kListBufferSize);
        if (!entry || entry->empty()) {
            return entries;
        }
        entries.push_back(*entry);
    }
}

std::string LoadResourceText(int id) {
    return LoadLangText(g_LanguagePath, "Resource", std::to_string(id), "", kResourceBufferSize);
}
