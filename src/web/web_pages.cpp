// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_pages.h"

#include <algorithm>
#include <span>

#include "codeplug/ptt_id_code.h"
#include "editors/function_options.h"
#include "editors/page_words.h"
#include "editors/vfo_fields.h"
#include "resources/ids/function_page_ids.h"

namespace {

constexpr size_t kFrequencyLength = 9;
// What the desktop's PTT ID box lets in.
constexpr const char* kPttIdCharacters = "0123456789ABCDabcd";

// The functions page's columns as the template lays them out; its hidden ANI transmit box
// is not drawn.
constexpr int kLeftColumn[] = {
    kScanModeId,  kTxTimeLimitId, kFrequencyModeId, kWorkModeAId, kWorkModeBId,
    kDisplayF1Id, kDisplayF2Id,   kPttIdModeId,     kPttIdCodeId,
};

constexpr int kRightColumn[] = {
    kSquelchId,     kVoxLevelId,      kRadioWorkModeId, kDualWatchTxId, kVoiceSelectId,
    kDualWatchId,   kRadioFunctionId, kEndToneId,       kBeepId,        kBacklightId,
    kVoicePromptId, kPowerSaveId,     kSideToneId,
};

// One VFO's controls as the template lays them out, the receive box first.
constexpr int VfoControlIds::*kVfoLayout[] = {
    &VfoControlIds::receive,      &VfoControlIds::receiveTone, &VfoControlIds::transmit,
    &VfoControlIds::transmitTone, &VfoControlIds::power,       &VfoControlIds::bcl,
    &VfoControlIds::bandwidth,    &VfoControlIds::reverse,     &VfoControlIds::pttId,
    &VfoControlIds::step,         &VfoControlIds::compander,   &VfoControlIds::scanAdd,
};

bool IsDrawnOption(int id) {
    return id != kPttIdCodeId && (std::find(std::begin(kLeftColumn), std::end(kLeftColumn), id) !=
                                      std::end(kLeftColumn) ||
                                  std::find(std::begin(kRightColumn), std::end(kRightColumn), id) !=
                                      std::end(kRightColumn));
}

int ShownIndex(int value, size_t entries) {
    return value >= 0 && value < static_cast<int>(entries) ? value : -1;
}

PageField OptionField(const CHalvexDoc& document, int id) {
    PageField field;
    field.id = id;
    field.label = ControlLabelText(id);
    const RadioOptionDefinition* option = OptionOfControl(id);
    if (option == nullptr) {
        field.kind = FieldKind::Text;
        field.text = PttIdCodeText(document.Image().GetPttIdCode());
        field.textLimit = kPttIdCodeSize;
        field.accepted = kPttIdCharacters;
        return field;
    }
    field.kind = option->kind == OptionChoices::Switch ? FieldKind::Switch : FieldKind::Choice;
    field.choices = OptionEntries(*option);
    const int value = option->value(document.Image());
    field.index = field.kind == FieldKind::Switch ? value : ShownIndex(value, field.choices.size());
    return field;
}

PageGroup VfoGroup(const CHalvexDoc& document, const VfoControlIds& vfo) {
    PageGroup group{vfo.group, ControlLabelText(vfo.group), {}};
    for (int VfoControlIds::*control : kVfoLayout) {
        PageField field;
        field.id = vfo.*control;
        field.label = ControlLabelText(field.id);
        if (const VfoChoice* choice = VfoChoiceOf(field.id)) {
            field.choices = choice->entries();
            field.index = ShownIndex(choice->read(document, vfo.record), field.choices.size());
        } else {
            field.kind = FieldKind::Text;
            field.text = field.id == vfo.receive
                             ? document.Image().GetFrequencyText(vfo.record, kDecodeSide)
                             : VfoTransmitBoxText(document, vfo);
            field.textLimit = kFrequencyLength;
        }
        group.fields.push_back(std::move(field));
    }
    return group;
}

}  // namespace

std::vector<PageGroup> PageGroups(const CHalvexDoc& document, PageKind kind) {
    std::vector<PageGroup> groups;
    if (kind == PageKind::Vfo) {
        for (const VfoControlIds& vfo : VfoControls()) {
            groups.push_back(VfoGroup(document, vfo));
        }
        return groups;
    }
    for (std::span<const int> column :
         {std::span<const int>(kLeftColumn), std::span<const int>(kRightColumn)}) {
        PageGroup group;
        for (const int id : column) {
            group.fields.push_back(OptionField(document, id));
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

CellCommit CommitPageChoice(CHalvexDoc& document, int id, int index) {
    CellCommit commit;
    if (IsDrawnOption(id)) {
        commit.changed = ChooseOptionEntry(document, id, index);
    } else if (const VfoChoice* choice = VfoChoiceOf(id)) {
        commit.changed = ChooseVfoEntry(document, *VfoOfControl(id), *choice, index);
    }
    return commit;
}

CellCommit CommitPageText(CHalvexDoc& document, int id, const std::string& text) {
    CellCommit commit;
    if (id == kPttIdCodeId) {
        commit.changed =
            StorePttIdCode(document, PttIdCodeFromText(text.substr(0, kPttIdCodeSize)));
        return commit;
    }
    const VfoControlIds* vfo = VfoOfControl(id);
    if (vfo == nullptr || VfoChoiceOf(id) != nullptr) {
        return commit;
    }
    const std::string entry = text.substr(0, kFrequencyLength);
    // The other box keeps what it shows.
    const VfoFrequencyStore stored =
        id == vfo->receive
            ? StoreVfoFrequencies(document, *vfo, entry, VfoTransmitBoxText(document, *vfo))
            : StoreVfoFrequencies(document, *vfo,
                                  document.Image().GetFrequencyText(vfo->record, kDecodeSide),
                                  entry);
    commit.changed = stored.changed;
    commit.note = ClampNoteText(id == vfo->receive ? stored.receiveClamp : stored.transmitClamp);
    return commit;
}
