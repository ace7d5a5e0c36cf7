// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/setting_definitions.h"

#include <charconv>

#include "platform/profile.h"

namespace {

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

std::optional<int> IntSetting::Clamped(std::string_view text) const {
    text = Trimmed(text);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    if (!clampsAbove || text.empty() ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    long long value = 0;
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool above =
        failure == std::errc::result_out_of_range || (failure == std::errc() && value > maximum);
    return above ? std::optional<int>(maximum) : std::nullopt;
}

int IntSetting::ReadFrom(std::string_view contents) const {
    std::optional<std::string> text = FindProfileValue(contents, section, key);
    if (!text) {
        return defaultValue;
    }
    // The value up to a NUL, whole: a number after many spaces is still that number.
    const std::string_view value(text->c_str());
    return Parse(value).value_or(Clamped(value).value_or(defaultValue));
}

int IntSetting::Read(const std::string& settingsPath) const {
    std::string contents;
    if (!ReadProfileFile(settingsPath, &contents, nullptr)) {
        return defaultValue;
    }
    return ReadFrom(contents);
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
