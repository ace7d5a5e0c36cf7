// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/function_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <cstdlib>
#include <string_view>

#include "codeplug/document.h"
#include "codeplug/radio_options.h"
#include "common/relabel.h"
#include "common/step_names.h"
#include "config/language.h"
#include "editors/function_report.h"
#include "editors/page_controls.h"
#include "editors/ptt_id_edit.h"
#include "resources/ids/function_page_ids.h"

namespace {

// A control and the option it shows, by the option table's name; in the order the page fills
// them. The ANI transmit box is hidden, yet it shows and keeps its bit like the others.
struct OptionBinding {
    int controlId;
    const char* option;
};

constexpr OptionBinding kChoices[] = {
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
};

constexpr OptionBinding kCheckBoxes[] = {
    {kEndToneId, "EndTone"},         {kBeepId, "Beep"},
    {kBacklightId, "Backlight"},     {kPowerSaveId, "PowerSave"},
    {kDualWatchId, "DualWatch"},     {kRadioFunctionId, "RadioFunction"},
    {kVoicePromptId, "VoicePrompt"}, {kAniTxId, "AniTx"},
    {kSideToneId, "SideTone"},
};

// A name missing from the option table is a slip in the list above, which every page test
// meets at once.
const RadioOptionDefinition& OptionOf(const OptionBinding& binding) {
    for (const RadioOptionDefinition& option : kRadioOptions) {
        if (std::string_view(option.name) == binding.option) {
            return option;
        }
    }
    std::abort();
}

}  // namespace

CFunctionPage::CFunctionPage(QWidget* parent, CHalvexDoc& document)
    : QWidget(parent), m_Document(document) {
    BuildPage(this, kFunctionPageTemplate);
    for (const OptionBinding& binding : kChoices) {
        auto* list = RequireControl<QComboBox>(this, binding.controlId);
        m_Lists.push_back(list);
        connect(list, &QComboBox::activated, this,
                [this, store = OptionOf(binding).store, id = binding.controlId](int index) {
                    // The entry the list already showed, chosen again, changes no byte.
                    const auto before = m_Document.Image().bytes;
                    store(m_Document.EditImage(), index);
                    if (m_Document.Image().bytes != before) {
                        m_Document.SetModifiedFlag();
                        RecordEdit(id);
                    }
                });
    }
    for (const OptionBinding& binding : kCheckBoxes) {
        auto* box = RequireControl<QCheckBox>(this, binding.controlId);
        m_CheckBoxes.push_back(box);
        connect(box, &QCheckBox::clicked, this,
                [this, store = OptionOf(binding).store, id = binding.controlId](bool checked) {
                    store(m_Document.EditImage(), checked ? 1 : 0);
                    m_Document.SetModifiedFlag();
                    RecordEdit(id);
                });
    }
    m_PttIdEdit = new CPttIdEdit(RequireControl<QLineEdit>(this, kPttIdCodeId));
    connect(m_PttIdEdit, &CPttIdEdit::focusLost, this, &CFunctionPage::OnPttIdFocusLost);
    FillFromImage();
}

// The code box may lose the focus while the page's children are destroyed; by then this
// page must no longer hear of it.
CFunctionPage::~CFunctionPage() {
    disconnect(m_PttIdEdit, nullptr, this, nullptr);
}

void CFunctionPage::FillFromImage() {
    RelabelDialog(this, kFunctionPageTemplate);
    for (size_t index = 0; index < m_Lists.size(); ++index) {
        const RadioOptionDefinition& option = OptionOf(kChoices[index]);
        FillChoiceList(m_Lists[index], OptionEntries(option), option.value(m_Document.Image()));
    }
    m_PttIdEdit->SetCode(m_Document.Image().GetPttIdCode());
    for (size_t index = 0; index < m_CheckBoxes.size(); ++index) {
        m_CheckBoxes[index]->setChecked(OptionOf(kCheckBoxes[index]).value(m_Document.Image()) !=
                                        0);
    }
}

// Only a code that differs from the stored one is a change: tabbing through the page must
// not make the document ask to be saved.
void CFunctionPage::OnPttIdFocusLost() {
    // Stored bytes the box cannot show must survive a visit that types nothing.
    if (!m_PttIdEdit->Edited()) {
        return;
    }
    m_PttIdEdit->TakeEdit();
    const PttIdCode code = m_PttIdEdit->GetCode();
    if (code != m_Document.Image().GetPttIdCode()) {
        m_Document.EditImage().SetPttIdCode(code);
        m_Document.SetModifiedFlag();
        RecordEdit(kPttIdCodeId);
    }
}

void CFunctionPage::RecordEdit(int controlId) {
    m_Document.CommitEdit(StepName("IDS_STEP_ITEM", {StepArg::Control(controlId)}));
}
