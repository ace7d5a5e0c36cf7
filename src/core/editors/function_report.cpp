// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/function_report.h"

#include <array>
#include <string_view>

#include "codeplug/ptt_id_code.h"
#include "config/language.h"
#include "resources/ids/function_page_ids.h"

namespace {

constexpr int kLastLevel = 9;
constexpr int kLastTimeLimit = 7;

enum class ItemKind { Choice, Check, Code, None };

// A caption of the page (a choice and its label share the id) and the option it shows.
struct ReportItem {
    ItemKind kind;
    int controlId;
    const char* option;
};

constexpr ReportItem kNoItem{ItemKind::None, 0, nullptr};

constexpr ReportItem Choice(int id, const char* option) {
    return {ItemKind::Choice, id, option};
}

constexpr ReportItem Check(int id, const char* option) {
    return {ItemKind::Check, id, option};
}

constexpr std::array<std::array<ReportItem, 3>, kFunctionReportLineCount> kReportItems = {{
    {{Choice(kSquelchId, "Squelch"), Choice(kScanModeId, "ScanMode"),
      Check(kDualWatchId, "DualWatch")}},
    {{Check(kEndToneId, "EndTone"), Check(kBeepId, "Beep"), Check(kBacklightId, "Backlight")}},
    {{Check(kPowerSaveId, "PowerSave"), Choice(kFrequencyModeId, "FreqMode"),
      Choice(kPttIdModeId, "PttIdMode")}},
    {{Check(kRadioFunctionId, "RadioFunction"), Check(kVoicePromptId, "VoicePrompt"),
      Choice(kRadioWorkModeId, "RadioWorkMode")}},
    {{Choice(kWorkModeAId, "WorkModeA"), Choice(kWorkModeBId, "WorkModeB"),
      Choice(kVoiceSelectId, "VoiceSelect")}},
    {{Choice(kTxTimeLimitId, "TxTimeLimit"), Choice(kDualWatchTxId, "DualWatchTx"),
      Check(kAniTxId, "AniTx")}},
    {{Choice(kDisplayF1Id, "DisplayF1"), Choice(kDisplayF2Id, "DisplayF2"),
      Check(kSideToneId, "SideTone")}},
    {{Choice(kVoxLevelId, "VoxLevel"), {ItemKind::Code, kPttIdCodeId, nullptr}, kNoItem}},
}};

constexpr const char* kSeparator = " : ";

std::vector<std::string> Digits(int last) {
    std::vector<std::string> texts;
    for (int digit = 0; digit <= last; ++digit) {
        texts.push_back(std::to_string(digit));
    }
    return texts;
}

const RadioOptionDefinition* OptionNamed(const char* name) {
    for (const RadioOptionDefinition& option : kRadioOptions) {
        if (std::string_view(option.name) == name) {
            return &option;
        }
    }
    return nullptr;
}

// A stored value the list has no entry for shows no entry, as the page's list does.
std::string ItemValue(const ReportItem& item, const RadioImage& image) {
    if (item.kind == ItemKind::Code) {
        return PttIdCodeText(image.GetPttIdCode());
    }
    const RadioOptionDefinition* option = OptionNamed(item.option);
    if (option == nullptr) {
        return std::string();
    }
    const int value = option->value(image);
    if (item.kind == ItemKind::Check) {
        return LoadLangString(value != 0 ? "IDS_YES" : "IDS_NO");
    }
    const std::vector<std::string> entries = OptionEntries(*option);
    return value >= 0 && value < static_cast<int>(entries.size())
               ? entries[static_cast<size_t>(value)]
               : std::string();
}

}  // namespace

std::vector<std::string> OptionEntries(const RadioOptionDefinition& option) {
    switch (option.kind) {
        case OptionChoices::Levels:
            return Digits(kLastLevel);
        case OptionChoices::TimeLimits: {
            std::vector<std::string> entries = Digits(kLastTimeLimit);
            entries.front() = LoadLangString("IDS_OFF");
            return entries;
        }
        case OptionChoices::LanguageList:
            return LoadLangList(option.section);
        case OptionChoices::Switch:
            break;
    }
    return {};
}

std::vector<std::vector<std::string>> FunctionReportLines(const RadioImage& image) {
    std::vector<std::vector<std::string>> lines;
    for (const auto& row : kReportItems) {
        std::vector<std::string>& line = lines.emplace_back();
        for (const ReportItem& item : row) {
            if (item.kind != ItemKind::None) {
                line.push_back(LoadResourceText(item.controlId) + kSeparator +
                               ItemValue(item, image));
            }
        }
    }
    return lines;
}
