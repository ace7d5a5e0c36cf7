// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/function_report.h"

#include <array>

#include "codeplug/ptt_id_code.h"
#include "config/language.h"
#include "editors/function_options.h"
#include "resources/ids/function_page_ids.h"

namespace {

// A caption of the page (a control and its label share the id): an option's control, the
// PTT ID code box, or nothing.
enum class ItemKind { Option, Code, None };

struct ReportItem {
    ItemKind kind;
    int controlId;
};

constexpr ReportItem kNoItem{ItemKind::None, 0};

constexpr ReportItem Option(int id) {
    return {ItemKind::Option, id};
}

constexpr std::array<std::array<ReportItem, 3>, kFunctionReportLineCount> kReportItems = {{
    {{Option(kSquelchId), Option(kScanModeId), Option(kDualWatchId)}},
    {{Option(kEndToneId), Option(kBeepId), Option(kBacklightId)}},
    {{Option(kPowerSaveId), Option(kFrequencyModeId), Option(kPttIdModeId)}},
    {{Option(kRadioFunctionId), Option(kVoicePromptId), Option(kRadioWorkModeId)}},
    {{Option(kWorkModeAId), Option(kWorkModeBId), Option(kVoiceSelectId)}},
    {{Option(kTxTimeLimitId), Option(kDualWatchTxId), Option(kAniTxId)}},
    {{Option(kDisplayF1Id), Option(kDisplayF2Id), Option(kSideToneId)}},
    {{Option(kVoxLevelId), {ItemKind::Code, kPttIdCodeId}, kNoItem}},
}};

constexpr const char* kSeparator = " : ";

// A stored value the list has no entry for shows no entry, as the page's list does.
std::string ItemValue(const ReportItem& item, const RadioImage& image) {
    if (item.kind == ItemKind::Code) {
        return PttIdCodeText(image.GetPttIdCode());
    }
    const RadioOptionDefinition* option = OptionOfControl(item.controlId);
    if (option == nullptr) {
        return std::string();
    }
    const int value = option->value(image);
    if (option->kind == OptionChoices::Switch) {
        return LoadLangString(value != 0 ? "IDS_YES" : "IDS_NO");
    }
    const std::vector<std::string> entries = OptionEntries(*option);
    return value >= 0 && value < static_cast<int>(entries.size())
               ? entries[static_cast<size_t>(value)]
               : std::string();
}

}  // namespace

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
