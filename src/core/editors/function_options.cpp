// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/function_options.h"

#include <string_view>

#include "config/language.h"
#include "editors/page_words.h"
#include "resources/ids/function_page_ids.h"

namespace {

constexpr int kLastLevel = 9;
constexpr int kLastTimeLimit = 7;

constexpr FunctionControl kControls[] = {
    {kSquelchId, "Squelch"},
    {kScanModeId, "ScanMode"},
    {kFrequencyModeId, "FreqMode"},
    {kPttIdModeId, "PttIdMode"},
    {kRadioWorkModeId, "RadioWorkMode"},
    {kWorkModeAId, "WorkModeA"},
    {kWorkModeBId, "WorkModeB"},
    {kVoiceSelectId, "VoiceSelect"},
    {kTxTimeLimitId, "TxTimeLimit"},
    {kDualWatchTxId, "DualWatchTx"},
    {kDisplayF1Id, "DisplayF1"},
    {kDisplayF2Id, "DisplayF2"},
    {kVoxLevelId, "VoxLevel"},
    {kEndToneId, "EndTone"},
    {kBeepId, "Beep"},
    {kBacklightId, "Backlight"},
    {kPowerSaveId, "PowerSave"},
    {kDualWatchId, "DualWatch"},
    {kRadioFunctionId, "RadioFunction"},
    {kVoicePromptId, "VoicePrompt"},
    {kAniTxId, "AniTx"},
    {kSideToneId, "SideTone"},
};

const RadioOptionDefinition* OptionNamed(std::string_view name) {
    for (const RadioOptionDefinition& option : kRadioOptions) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

std::vector<std::string> Digits(int last) {
    std::vector<std::string> texts;
    for (int digit = 0; digit <= last; ++digit) {
        texts.push_back(std::to_string(digit));
    }
    return texts;
}

}  // namespace

std::span<const FunctionControl> FunctionControls() {
    return kControls;
}

const RadioOptionDefinition* OptionOfControl(int controlId) {
    for (const FunctionControl& control : kControls) {
        if (control.controlId == controlId) {
            return OptionNamed(control.option);
        }
    }
    return nullptr;
}

int OptionControlId(const RadioOptionDefinition& option) {
    for (const FunctionControl& control : kControls) {
        if (OptionNamed(control.option) == &option) {
            return control.controlId;
        }
    }
    return 0;
}

std::vector<std::string> OptionEntries(const RadioOptionDefinition& option,
                                       const OptionWording& wording) {
    switch (option.kind) {
        case OptionChoices::Levels:
            return Digits(kLastLevel);
        case OptionChoices::TimeLimits: {
            std::vector<std::string> entries = Digits(kLastTimeLimit);
            entries.front() = wording.text("IDS_OFF");
            return entries;
        }
        case OptionChoices::LanguageList:
            return wording.list(option.section);
        case OptionChoices::Switch:
            break;
    }
    return {};
}

std::vector<std::string> OptionEntries(const RadioOptionDefinition& option) {
    return OptionEntries(option, {[](const char* key) { return LoadLangString(key); },
                                  [](const char* section) { return LoadLangList(section); }});
}

namespace {

void RecordEdit(CHalvexDoc& document, int controlId) {
    document.SetModifiedFlag();
    document.CommitEdit(MakeStepName("IDS_STEP_ITEM", {StepPart::Control(controlId)}));
}

}  // namespace

bool ChooseOptionEntry(CHalvexDoc& document, int controlId, int index) {
    const RadioOptionDefinition* option = OptionOfControl(controlId);
    if (option == nullptr) {
        return false;
    }
    const int entries =
        option->kind == OptionChoices::Switch ? 2 : static_cast<int>(OptionEntries(*option).size());
    if (index < 0 || index >= entries) {
        return false;
    }
    const auto before = document.Image().bytes;
    option->store(document.EditImage(), index);
    if (document.Image().bytes == before) {
        return false;
    }
    RecordEdit(document, controlId);
    return true;
}

bool StorePttIdCode(CHalvexDoc& document, const PttIdCode& code) {
    if (code == document.Image().GetPttIdCode()) {
        return false;
    }
    document.EditImage().SetPttIdCode(code);
    RecordEdit(document, kPttIdCodeId);
    return true;
}
