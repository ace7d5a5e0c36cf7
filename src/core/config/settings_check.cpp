// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/settings_check.h"

#include <limits>
#include <string_view>

#include "codeplug/pgm_file.h"
#include "platform/profile.h"
#include "platform/profile_lines.h"
#include "platform/text_encoding.h"

namespace {

// Enough of a bad value to recognise it; the rest of a binary line would flood the terminal.
constexpr size_t kShownValueLength = 24;

std::string Shown(std::string_view value) {
    std::string text;
    for (char character : value.substr(0, kShownValueLength)) {
        unsigned char byte = static_cast<unsigned char>(character);
        text += byte < 0x20 || byte == 0x7F ? '?' : character;
    }
    return value.size() > kShownValueLength ? text + "..." : text;
}

std::string Refusal(std::string_view contents, const std::string& path) {
    if (contents.starts_with(kPgmIdentification)) {
        return path + " is a radio data file (.pgm), not a settings file";
    }
    if (contents.find('\0') != std::string_view::npos) {
        return path + " is not a settings file: it holds NUL bytes (binary, or UTF-16 text)";
    }
    if (!IsValidUtf8(contents) && !IsValidGb18030(contents)) {
        return path + " is not a settings file: its text is neither UTF-8 nor GB18030";
    }
    return {};
}

bool HasSection(std::string_view contents, std::string_view section) {
    ProfileScanner scanner(contents);
    ProfileLine line;
    while (scanner.Next(&line)) {
        if (line.kind == ProfileLine::Kind::kSection && SameProfileName(line.name, section)) {
            return true;
        }
    }
    return false;
}

}  // namespace

SettingsCheck CheckSettingsFile(const std::string& path, const std::string& shownName) {
    const std::string& name = shownName.empty() ? path : shownName;
    SettingsCheck check;
    std::string contents;
    if (!ReadProfileFile(path, &contents, &check.refusal)) {
        return check;
    }
    check.refusal = Refusal(contents, path);
    if (!check.refusal.empty()) {
        return check;
    }
    if (!HasSection(contents, settings::kSetupSection)) {
        check.notes.push_back(name + " has no [setup] section: " +
                              std::to_string(settings::kChannelCount.defaultValue) +
                              " channel, defaults used");
    }
    const NumberedTextSetting& bandLines = settings::kBandLines;
    std::optional<std::string> firstBandLine =
        FindProfileValue(contents, bandLines.section, bandLines.Key(0));
    if (!firstBandLine || firstBandLine->empty()) {
        check.notes.push_back(name + " has no band line ([" + std::string(bandLines.section) +
                              "] " + bandLines.Key(0) + "): no frequency limits known");
    }
    for (const IntSetting* setting : settings::kIntSettings) {
        std::optional<std::string> found =
            FindProfileValue(contents, setting->section, setting->key);
        const std::string_view value = found ? std::string_view(found->c_str()) : "";
        if (value.empty() || setting->Parse(value)) {
            continue;
        }
        const std::string key(setting->key);
        if (std::optional<int> clamped = setting->Clamped(value)) {
            check.notes.push_back(name + ": " + key + "=" + Shown(value) + " is more than " +
                                  std::to_string(*clamped) + ", the most " + key + " takes; " +
                                  std::to_string(*clamped) + " is used");
        } else {
            check.badValues.push_back({setting, Shown(value)});
        }
    }
    return check;
}

std::string BadValueMessage(const std::string& path, const BadSettingValue& bad, bool replaced) {
    const IntSetting& setting = *bad.setting;
    std::string key(setting.key);
    std::string message =
        path + ": " + key + "=" + bad.value + " is not allowed: " + key + " takes a whole number";
    if (setting.minimum != std::numeric_limits<int>::min() ||
        setting.maximum != std::numeric_limits<int>::max()) {
        message +=
            " from " + std::to_string(setting.minimum) + " to " + std::to_string(setting.maximum);
    }
    if (replaced) {
        message += "; " + std::to_string(setting.defaultValue) + " is used instead";
    }
    return message;
}
