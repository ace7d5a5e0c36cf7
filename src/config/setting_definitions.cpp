// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/setting_definitions.h"

#include <charconv>

#include "platform/profile.h"

namespace {

// Room for any whole number with spaces around it; a longer text is no number.
constexpr size_t kNumberBufferSize = 32;

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::optional<int> IntSetting::Parse(std::string_view text) const {
    text = Trimmed(text);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    int value = 0;
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || failure != std::errc() || end != text.data() + text.size() ||
        value < minimum || value > maximum) {
        return std::nullopt;
    }
    return value;
}

int IntSetting::Read(const std::string& settingsPath) const {
    std::string text = ReadProfileString(settingsPath, section, key, "", kNumberBufferSize);
    return Parse(text).value_or(defaultValue);
}

bool SwitchSetting::Read(const std::string& settingsPath) const {
    return !ReadProfileString(settingsPath, section, key, defaultText, bufferSize).starts_with('0');
}

std::string TextSetting::Read(const std::string& settingsPath) const {
    return ReadProfileString(settingsPath, section, key, defaultText, bufferSize);
}

bool IntSetting::Write(const std::string& settingsPath, std::string_view text,
                       std::string* error) const {
    return WriteProfileString(settingsPath, section, key, text, error);
}

bool SwitchSetting::Write(const std::string& settingsPath, std::string_view text,
                          std::string* error) const {
    return WriteProfileString(settingsPath, section, key, text, error);
}

bool TextSetting::Write(const std::string& settingsPath, std::string_view text,
                        std::string* error) const {
    return WriteProfileString(settingsPath, section, key, text, error);
}

std::string NumberedTextSetting::Key(int k) const {
    return std::string(prefix) + std::to_string(k);
}

std::optional<std::string> NumberedTextSetting::Read(const std::string& settingsPath, int k,
                                                     size_t bufferSize) const {
    if (k < 0 || k >= count) {
        return std::nullopt;
    }
    std::string text = ReadProfileString(settingsPath, section, Key(k), "", bufferSize);
    if (text.empty()) {
        return std::nullopt;
    }
    return text;
}
