// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/radio_options.h"

#include <array>

namespace {

constexpr int kLastLevel = 9;
constexpr int kLastTimeLimit = 7;

constexpr const char* kScanItems[] = {"Time (TO)", "Carrier (CO)", "Search (SE)"};
constexpr const char* kChannelFrequencyItems[] = {"Channel", "Frequency"};
constexpr const char* kPttIdItems[] = {"Off", "Begin of TX", "End of TX", "Begin and end"};
constexpr const char* kRadiogramItems[] = {"Preset", "Frequency"};
constexpr const char* kVoiceItems[] = {"Chinese", "English"};
constexpr const char* kDualWatchTxItems[] = {"Selected channel", "Channel A", "Channel B",
                                             "Last busy channel"};
constexpr const char* kDisplayItems[] = {"Frequency", "Channel number", "Channel name"};
constexpr const char* kStepItems[] = {"2.5 kHz", "5 kHz",    "6.25 kHz",
                                      "10 kHz",  "12.5 kHz", "25 kHz"};

template <int (RadioImage::*Get)() const, void (RadioImage::*Set)(int)>
constexpr RadioOptionDefinition Listed(const char* name, size_t byte, OptionChoices kind,
                                       const char* section = nullptr,
                                       std::span<const char* const> items = {}) {
    return {name,
            byte,
            kind,
            section,
            items,
            [](const RadioImage& image) { return (image.*Get)(); },
            [](RadioImage& image, int value) { (image.*Set)(value); }};
}

template <bool (RadioImage::*Get)() const, void (RadioImage::*Set)(bool)>
constexpr RadioOptionDefinition Switch(const char* name, size_t byte) {
    return {name,
            byte,
            OptionChoices::Switch,
            nullptr,
            {},
            [](const RadioImage& image) { return (image.*Get)() ? 1 : 0; },
            [](RadioImage& image, int value) { (image.*Set)(value != 0); }};
}

using R = RadioImage;
constexpr auto kLanguageList = OptionChoices::LanguageList;

constexpr std::array kOptions = {
    Listed<&R::GetSquelch, &R::SetSquelch>("Squelch", 0, OptionChoices::Levels),
    Listed<&R::GetScanMode, &R::SetScanMode>("ScanMode", 1, kLanguageList, "ScanType", kScanItems),
    Switch<&R::GetDualWatch, &R::SetDualWatch>("DualWatch", 1),
    Switch<&R::GetEndTone, &R::SetEndTone>("EndTone", 1),
    Switch<&R::GetBeep, &R::SetBeep>("Beep", 1),
    Switch<&R::GetBacklight, &R::SetBacklight>("Backlight", 1),
    Switch<&R::GetPowerSave, &R::SetPowerSave>("PowerSave", 1),
    Listed<&R::GetFreqMode, &R::SetFreqMode>("FreqMode", 1, kLanguageList, "FreqMode",
                                             kChannelFrequencyItems),
    Listed<&R::GetPttIdMode, &R::SetPttIdMode>("PttIdMode", 2, kLanguageList, "PttId", kPttIdItems),
    Switch<&R::GetRadioFunction, &R::SetRadioFunction>("RadioFunction", 2),
    Switch<&R::GetVoicePrompt, &R::SetVoicePrompt>("VoicePrompt", 2),
    Listed<&R::GetRadioWorkMode, &R::SetRadioWorkMode>("RadioWorkMode", 2, kLanguageList,
                                                       "RadiogramWorkMode", kRadiogramItems),
    Listed<&R::GetWorkModeA, &R::SetWorkModeA>("WorkModeA", 2, kLanguageList, "RadioWorkModeA",
                                               kChannelFrequencyItems),
    Listed<&R::GetWorkModeB, &R::SetWorkModeB>("WorkModeB", 2, kLanguageList, "RadioWorkModeB",
                                               kChannelFrequencyItems),
    Listed<&R::GetVoiceSelect, &R::SetVoiceSelect>("VoiceSelect", 2, kLanguageList, "Voice",
                                                   kVoiceItems),
    Listed<&R::GetTxTimeLimit, &R::SetTxTimeLimit>("TxTimeLimit", 3, OptionChoices::TimeLimits),
    Listed<&R::GetDualWatchTx, &R::SetDualWatchTx>("DualWatchTx", 4, kLanguageList, "TxDtr",
                                                   kDualWatchTxItems),
    Switch<&R::GetAniTx, &R::SetAniTx>("AniTx", 4),
    Listed<&R::GetDisplayF1, &R::SetDisplayF1>("DisplayF1", 4, kLanguageList, "ChannelShowedF1",
                                               kDisplayItems),
    Listed<&R::GetDisplayF2, &R::SetDisplayF2>("DisplayF2", 4, kLanguageList, "ChannelShowedF2",
                                               kDisplayItems),
    Switch<&R::GetSideTone, &R::SetSideTone>("SideTone", 5),
    Listed<&R::GetVoxLevel, &R::SetVoxLevel>("VoxLevel", 6, OptionChoices::Levels),
};

std::vector<std::string> Digits(int first, int last) {
    std::vector<std::string> texts;
    for (int digit = first; digit <= last; ++digit) {
        texts.push_back(std::to_string(digit));
    }
    return texts;
}

}  // namespace

const std::span<const RadioOptionDefinition> kRadioOptions = kOptions;

std::vector<std::string> EnglishOptionItems(const RadioOptionDefinition& option) {
    switch (option.kind) {
        case OptionChoices::Levels:
            return Digits(0, kLastLevel);
        case OptionChoices::TimeLimits: {
            std::vector<std::string> items = Digits(0, kLastTimeLimit);
            items.front() = "Off";
            return items;
        }
        case OptionChoices::LanguageList:
            return {option.englishItems.begin(), option.englishItems.end()};
        case OptionChoices::Switch:
            return {"Off", "On"};
    }
    return {};
}

std::span<const char* const> EnglishStepItems() {
    return kStepItems;
}
