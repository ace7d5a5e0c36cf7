// SPDX-License-Identifier: GPL-3.0-or-later
// Each setting of setting.ini defined once: its section and key, what it holds when missing or
// wrong, the values it may take and how its text is read. Every Read goes to the file, so a
// changed file takes effect at the next use, as it always has.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

// A whole number within [minimum, maximum]; missing, empty, not a number or out of range
// reads as defaultValue, except that with clampsAbove a number above maximum reads as maximum.
struct IntSetting {
    std::string_view section;
    std::string_view key;
    int defaultValue;
    int minimum;
    int maximum;
    bool clampsAbove = false;

    int Read(const std::string& settingsPath) const;
    // What Read gives for a settings file's contents; the file's check reads the same way.
    int ReadFrom(std::string_view contents) const;
    // Stores text as the value; false with a message when the file could not be written.
    bool Write(const std::string& settingsPath, std::string_view text, std::string* error) const;
    // The value text holds, or nothing when it is not a whole number in range.
    std::optional<int> Parse(std::string_view text) const;
    // maximum, when clampsAbove and text is a whole number above it; nothing otherwise.
    std::optional<int> Clamped(std::string_view text) const;
};

// On unless its text begins with "0"; only the first bufferSize - 1 characters are read.
struct SwitchSetting {
    std::string_view section;
    std::string_view key;
    std::string_view defaultText;
    size_t bufferSize;

    bool Read(const std::string& settingsPath) const;
    // Stores text as the value; false with a message when the file could not be written.
    bool Write(const std::string& settingsPath, std::string_view text, std::string* error) const;
};

struct TextSetting {
    std::string_view section;
    std::string_view key;
    std::string_view defaultText;
    size_t bufferSize;

    std::string Read(const std::string& settingsPath) const;
    // Stores text as the value; false with a message when the file could not be written.
    bool Write(const std::string& settingsPath, std::string_view text, std::string* error) const;
};

// Numbered keys of one section, prefix + "0" up to prefix + (count - 1), read in order until
// one is missing or empty.
struct NumberedTextSetting {
    std::string_view section;
    std::string_view prefix;
    int count;

    std::string Key(int k) const;
    // Key k cut to bufferSize - 1 characters; nothing when it is missing, empty or past count.
    std::optional<std::string> Read(const std::string& settingsPath, int k,
                                    size_t bufferSize) const;
};

namespace settings {

inline constexpr std::string_view kSetupSection = "setup";

inline constexpr TextSetting kLanguage{kSetupSection, "language", "", 260};
// More rows than the radio has channels are the radio's 128.
inline constexpr IntSetting kChannelCount{kSetupSection, "channelcount", 1, 1, 128, true};
// The search tries up to COM255.
inline constexpr IntSetting kCom{kSetupSection, "com", 1, 1, 255};
inline constexpr SwitchSetting kSearchCom{kSetupSection, "searchcom", "1", 8};
// 1 is the direct cable, any other number the echoing one, as files from elsewhere have it.
inline constexpr IntSetting kRwType{kSetupSection, "rwtype", 1, std::numeric_limits<int>::min(),
                                    std::numeric_limits<int>::max()};
// Milliseconds; the exchange waits at most 10 s whatever is asked.
inline constexpr IntSetting kReadTime{kSetupSection, "readtime", 50, 1, 600000};
inline constexpr IntSetting kWriteTime{kSetupSection, "writetime", 50, 1, 600000};
inline constexpr IntSetting kVerifyWrite{kSetupSection, "verifywrite", 0, 0, 1};
inline constexpr SwitchSetting kCompander{kSetupSection, "compander", "1", 8};
inline constexpr SwitchSetting kHighChannels{kSetupSection, "channel", "1", 8};
// Long enough for any /dev/serial/by-id name.
inline constexpr TextSetting kDevice{kSetupSection, "device", "", 1024};

inline constexpr std::string_view kModelSection = "ModelInfo";
// The band lines: the band words a radio of each frequency range has, as hexadecimal text.
inline constexpr NumberedTextSetting kBandLines{kModelSection, "data", 16};
// The frequency ranges' names, in the order of the band lines, as the range list shows them.
inline constexpr NumberedTextSetting kRangeNames{kModelSection, "Freq", 10};

// Every whole-number setting, for the file's check.
inline constexpr const IntSetting* kIntSettings[] = {&kChannelCount, &kCom,       &kRwType,
                                                     &kReadTime,     &kWriteTime, &kVerifyWrite};

}  // namespace settings
