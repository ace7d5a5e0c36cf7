// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_pages.h"

#include <span>
#include <string_view>

#include "codeplug/codecs.h"
#include "codeplug/ptt_id_code.h"
#include "codeplug/radio_options.h"
#include "config/language.h"
#include "resources/ids/function_page_ids.h"
#include "resources/ids/vfo_page_ids.h"
#include "editors/vfo_frequencies.h"
#include "web_words.h"

namespace {

constexpr size_t kFrequencyLength = 9;
// What the desktop's PTT ID box lets in.
constexpr const char* kPttIdCharacters = "0123456789ABCDabcd";

// A control of the functions page and the option it shows, by the option table's name. The
// columns are the template's; its hidden ANI transmit box is not drawn.
struct OptionBinding {
    int controlId;
    const char* option;
};

constexpr OptionBinding kLeftColumn[] = {
    {kScanModeId, "ScanMode"},   {kTxTimeLimitId, "TxTimeLimit"}, {kFrequencyModeId, "FreqMode"},
    {kWorkModeAId, "WorkModeA"}, {kWorkModeBId, "WorkModeB"},     {kDisplayF1Id, "DisplayF1"},
    {kDisplayF2Id, "DisplayF2"}, {kPttIdModeId, "PttIdMode"},     {kPttIdCodeId, nullptr},
};

constexpr OptionBinding kRightColumn[] = {
    {kSquelchId, "Squelch"},
    {kVoxLevelId, "VoxLevel"},
    {kRadioWorkModeId, "RadioWorkMode"},
    {kDualWatchTxId, "DualWatchTx"},
    {kVoiceSelectId, "VoiceSelect"},
    {kDualWatchId, "DualWatch"},
    {kRadioFunctionId, "RadioFunction"},
    {kEndToneId, "EndTone"},
    {kBeepId, "Beep"},
    {kBacklightId, "Backlight"},
    {kVoicePromptId, "VoicePrompt"},
    {kPowerSaveId, "PowerSave"},
    {kSideToneId, "SideTone"},
};

const RadioOptionDefinition* OptionNamed(const char* name) {
    for (const RadioOptionDefinition& option : kRadioOptions) {
        if (name != nullptr && std::string_view(option.name) == name) {
            return &option;
        }
    }
    return nullptr;
}

const RadioOptionDefinition* OptionOfControl(int id) {
    for (std::span<const OptionBinding> column : {std::span<const OptionBinding>(kLeftColumn),
                                                  std::span<const OptionBinding>(kRightColumn)}) {
        for (const OptionBinding& binding : column) {
            if (binding.controlId == id) {
                return OptionNamed(binding.option);
            }
        }
    }
    return nullptr;
}

std::vector<std::string> EntriesOf(const RadioOptionDefinition& option) {
    switch (option.kind) {
        case OptionChoices::Levels:
            return EnglishOptionItems(option);
        case OptionChoices::TimeLimits: {
            std::vector<std::string> entries = EnglishOptionItems(option);
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

PageField OptionField(const CHalvexDoc& document, const OptionBinding& binding) {
    PageField field;
    field.id = binding.controlId;
    field.label = ControlLabel(binding.controlId);
    const RadioOptionDefinition* option = OptionNamed(binding.option);
    if (option == nullptr) {
        field.kind = FieldKind::Text;
        field.text = PttIdCodeText(document.GetPttIdCode());
        field.textLimit = kPttIdCodeSize;
        field.accepted = kPttIdCharacters;
        return field;
    }
    field.kind = option->kind == OptionChoices::Switch ? FieldKind::Switch : FieldKind::Choice;
    field.choices = EntriesOf(*option);
    const int value = option->value(document);
    const bool shown = field.kind == FieldKind::Switch ||
                       (value >= 0 && value < static_cast<int>(field.choices.size()));
    field.index = shown ? value : -1;
    return field;
}

// One VFO's controls, in the template's order.
struct VfoControlIds {
    int record, group;
    int receive, receiveTone, transmit, transmitTone, power, bcl, bandwidth, reverse, pttId, step,
        compander, scanAdd;
};

constexpr VfoControlIds kVfoControls[] = {
    {kVfoF1, kVfoF1GroupId, kVfoF1ReceiveId, kVfoF1ReceiveToneId, kVfoF1TransmitId,
     kVfoF1TransmitToneId, kVfoF1PowerId, kVfoF1BclId, kVfoF1BandwidthId, kVfoF1ReverseId,
     kVfoF1PttIdId, kVfoF1StepId, kVfoF1CompanderId, kVfoF1ScanAddId},
    {kVfoF2, kVfoF2GroupId, kVfoF2ReceiveId, kVfoF2ReceiveToneId, kVfoF2TransmitId,
     kVfoF2TransmitToneId, kVfoF2PowerId, kVfoF2BclId, kVfoF2BandwidthId, kVfoF2ReverseId,
     kVfoF2PttIdId, kVfoF2StepId, kVfoF2CompanderId, kVfoF2ScanAddId},
};

using Entries = std::vector<std::string> (*)();
using Reader = int (*)(const CHalvexDoc& document, int record);
using Writer = void (*)(CHalvexDoc& document, int record, int index);

struct ChoiceRow {
    int VfoControlIds::*control;
    Entries entries;
    Reader read;
    Writer write;
};

std::vector<std::string> LanguageTexts(std::initializer_list<const char*> keys) {
    std::vector<std::string> texts;
    for (const char* key : keys) {
        texts.push_back(LoadLangString(key));
    }
    return texts;
}

std::vector<std::string> ToneEntries() {
    return ToneListTexts(LoadLangString("IDS_OFF"));
}
std::vector<std::string> LowHighEntries() {
    return LanguageTexts({"IDS_LOW", "IDS_HIGH"});
}
std::vector<std::string> OffOnEntries() {
    return LanguageTexts({"IDS_OFF", "IDS_ON"});
}
std::vector<std::string> BandwidthEntries() {
    return LanguageTexts({"IDS_WIDE", "IDS_NARROW", "IDS_MIDDLE"});
}
std::vector<std::string> StepEntries() {
    return LoadLangList("Step");
}

template <RecordSide Side>
int ReadTone(const CHalvexDoc& document, int record) {
    return document.GetTone(record, Side);
}
template <RecordSide Side>
void WriteTone(CHalvexDoc& document, int record, int index) {
    document.SetTone(record, Side, index);
}
template <bool (RadioImage::*Get)(int) const>
int ReadSwitch(const CHalvexDoc& document, int record) {
    return (document.*Get)(record) ? 1 : 0;
}
template <void (RadioImage::*Set)(int, bool)>
void WriteSwitch(CHalvexDoc& document, int record, int index) {
    (document.*Set)(record, index != 0);
}
template <int (RadioImage::*Get)(int) const>
int ReadIndex(const CHalvexDoc& document, int record) {
    return (document.*Get)(record);
}
template <void (RadioImage::*Set)(int, int)>
void WriteIndex(CHalvexDoc& document, int record, int index) {
    (document.*Set)(record, index);
}

constexpr ChoiceRow kChoiceRows[] = {
    {&VfoControlIds::receiveTone, ToneEntries, ReadTone<kDecodeSide>, WriteTone<kDecodeSide>},
    {&VfoControlIds::transmitTone, ToneEntries, ReadTone<kEncodeSide>, WriteTone<kEncodeSide>},
    {&VfoControlIds::power, LowHighEntries, ReadSwitch<&RadioImage::GetPowerHigh>,
     WriteSwitch<&RadioImage::SetPowerHigh>},
    {&VfoControlIds::bcl, OffOnEntries, ReadSwitch<&RadioImage::GetBcl>,
     WriteSwitch<&RadioImage::SetBcl>},
    {&VfoControlIds::bandwidth, BandwidthEntries, ReadIndex<&RadioImage::GetBandwidth>,
     WriteIndex<&RadioImage::SetBandwidth>},
    {&VfoControlIds::reverse, OffOnEntries, ReadSwitch<&RadioImage::GetReverse>,
     WriteSwitch<&RadioImage::SetReverse>},
    {&VfoControlIds::pttId, OffOnEntries, ReadSwitch<&RadioImage::GetPttId>,
     WriteSwitch<&RadioImage::SetPttId>},
    {&VfoControlIds::step, StepEntries, ReadIndex<&RadioImage::GetStep>,
     WriteIndex<&RadioImage::SetStep>},
    {&VfoControlIds::compander, OffOnEntries, ReadSwitch<&RadioImage::GetCompander>,
     WriteSwitch<&RadioImage::SetCompander>},
    {&VfoControlIds::scanAdd, OffOnEntries, ReadSwitch<&RadioImage::GetScanAdd>,
     WriteSwitch<&RadioImage::SetScanAdd>},
};

struct VfoControl {
    const VfoControlIds* vfo = nullptr;
    const ChoiceRow* row = nullptr;  // none for a frequency box
};

VfoControl VfoControlOf(int id) {
    for (const VfoControlIds& vfo : kVfoControls) {
        if (id == vfo.receive || id == vfo.transmit) {
            return {&vfo, nullptr};
        }
        for (const ChoiceRow& row : kChoiceRows) {
            if (vfo.*row.control == id) {
                return {&vfo, &row};
            }
        }
    }
    return {};
}

std::string TransmitText(const CHalvexDoc& document, int record) {
    return VfoTransmitText(document.GetFrequencyText(record, kDecodeSide),
                           document.GetFrequencyText(record, kEncodeSide),
                           document.GetShiftDirection(record));
}

PageField FrequencyField(const CHalvexDoc& document, const VfoControlIds& vfo, int id) {
    PageField field;
    field.id = id;
    field.kind = FieldKind::Text;
    field.label = ControlLabel(id);
    field.text = id == vfo.receive ? document.GetFrequencyText(vfo.record, kDecodeSide)
                                   : TransmitText(document, vfo.record);
    field.textLimit = kFrequencyLength;
    return field;
}

PageGroup VfoGroup(const CHalvexDoc& document, const VfoControlIds& vfo) {
    PageGroup group{vfo.group, ControlLabel(vfo.group), {}};
    auto addChoice = [&](const ChoiceRow& row) {
        PageField field;
        field.id = vfo.*row.control;
        field.label = ControlLabel(field.id);
        field.choices = row.entries();
        const int value = row.read(document, vfo.record);
        field.index = value >= 0 && value < static_cast<int>(field.choices.size()) ? value : -1;
        group.fields.push_back(std::move(field));
    };
    group.fields.push_back(FrequencyField(document, vfo, vfo.receive));
    addChoice(kChoiceRows[0]);
    group.fields.push_back(FrequencyField(document, vfo, vfo.transmit));
    for (size_t row = 1; row < std::size(kChoiceRows); ++row) {
        addChoice(kChoiceRows[row]);
    }
    return group;
}

void RecordEdit(CHalvexDoc& document, const std::string& step) {
    document.SetModifiedFlag();
    document.CommitEdit(step);
}

std::string VfoStep(const VfoControlIds& vfo, int id) {
    return PageStepName("IDS_STEP_VFO", {ControlPart(vfo.group), ControlPart(id)});
}

}  // namespace

std::vector<PageGroup> PageGroups(const CHalvexDoc& document, PageKind kind) {
    std::vector<PageGroup> groups;
    if (kind == PageKind::Vfo) {
        for (const VfoControlIds& vfo : kVfoControls) {
            groups.push_back(VfoGroup(document, vfo));
        }
        return groups;
    }
    for (std::span<const OptionBinding> column : {std::span<const OptionBinding>(kLeftColumn),
                                                  std::span<const OptionBinding>(kRightColumn)}) {
        PageGroup group;
        for (const OptionBinding& binding : column) {
            group.fields.push_back(OptionField(document, binding));
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

CellCommit CommitPageChoice(CHalvexDoc& document, int id, int index) {
    CellCommit commit;
    const auto before = document.bytes;
    std::string step;
    if (const RadioOptionDefinition* option = OptionOfControl(id)) {
        const int entries =
            option->kind == OptionChoices::Switch ? 2 : static_cast<int>(EntriesOf(*option).size());
        if (index < 0 || index >= entries) {
            return commit;
        }
        option->store(document, index);
        step = PageStepName("IDS_STEP_ITEM", {ControlPart(id)});
    } else if (const VfoControl control = VfoControlOf(id); control.row != nullptr) {
        if (index < 0 || index >= static_cast<int>(control.row->entries().size())) {
            return commit;
        }
        control.row->write(document, control.vfo->record, index);
        step = VfoStep(*control.vfo, id);
    } else {
        return commit;
    }
    // The entry the list already showed, chosen again, changes no byte.
    commit.changed = document.bytes != before;
    if (commit.changed) {
        RecordEdit(document, step);
    }
    return commit;
}

CellCommit CommitPageText(CHalvexDoc& document, int id, const std::string& text) {
    CellCommit commit;
    if (id == kPttIdCodeId) {
        const PttIdCode code = PttIdCodeFromText(text.substr(0, kPttIdCodeSize));
        // Only a code that differs from the stored one is a change.
        if (code != document.GetPttIdCode()) {
            document.SetPttIdCode(code);
            commit.changed = true;
            RecordEdit(document, PageStepName("IDS_STEP_ITEM", {ControlPart(id)}));
        }
        return commit;
    }
    const VfoControl control = VfoControlOf(id);
    if (control.vfo == nullptr || control.row != nullptr) {
        return commit;
    }
    const VfoControlIds& vfo = *control.vfo;
    const std::string entry = text.substr(0, kFrequencyLength);
    const std::string receive =
        id == vfo.receive ? entry : document.GetFrequencyText(vfo.record, kDecodeSide);
    const std::string transmit = id == vfo.transmit ? entry : TransmitText(document, vfo.record);
    const FrequencyLimits& limits = document.GetFrequencyLimits();
    const VfoFrequencies stored = VfoFrequenciesFromTexts(receive, transmit, limits);
    const auto before = document.GetRecord(vfo.record);
    const std::string receiveBefore = document.GetFrequencyText(vfo.record, kDecodeSide);
    document.SetFrequencyText(vfo.record, kDecodeSide, stored.receiveText);
    document.SetShiftDirection(vfo.record, stored.shift);
    document.SetFrequencyText(vfo.record, kEncodeSide, stored.offsetText);
    // Passing through the boxes without a change must not ask for a save at the end.
    commit.changed = document.GetRecord(vfo.record) != before;
    if (commit.changed) {
        const bool receiveChanged =
            document.GetFrequencyText(vfo.record, kDecodeSide) != receiveBefore;
        RecordEdit(document, VfoStep(vfo, receiveChanged ? vfo.receive : vfo.transmit));
    }
    commit.note = ClampNote(FrequencyClampOf(entry, limits));
    return commit;
}
