// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/function_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "app/edit_commands.h"
#include "app/relabel.h"
#include "codeplug/document.h"
#include "config/language.h"
#include "editors/page_controls.h"
#include "editors/ptt_id_edit.h"
#include "resources/ids/function_page_ids.h"

namespace {

constexpr int kLastLevel = 9;
constexpr int kLastTimeLimit = 7;

enum class ListSource { Levels, TimeLimits, LanguageFile };

struct ChoiceBinding {
    int controlId;
    ListSource source;
    const char* section;
    int (RadioImage::*get)() const;
    void (RadioImage::*set)(int);
};

// In the order the page fills them.
constexpr ChoiceBinding kChoices[] = {
    {kSquelchId, ListSource::Levels, nullptr, &RadioImage::GetSquelch, &RadioImage::SetSquelch},
    {kScanModeId, ListSource::LanguageFile, "ScanType", &RadioImage::GetScanMode,
     &RadioImage::SetScanMode},
    {kFrequencyModeId, ListSource::LanguageFile, "FreqMode", &RadioImage::GetFreqMode,
     &RadioImage::SetFreqMode},
    {kPttIdModeId, ListSource::LanguageFile, "PttId", &RadioImage::GetPttIdMode,
     &RadioImage::SetPttIdMode},
    {kRadioWorkModeId, ListSource::LanguageFile, "RadiogramWorkMode", &RadioImage::GetRadioWorkMode,
     &RadioImage::SetRadioWorkMode},
    {kWorkModeAId, ListSource::LanguageFile, "RadioWorkModeA", &RadioImage::GetWorkModeA,
     &RadioImage::SetWorkModeA},
    {kWorkModeBId, ListSource::LanguageFile, "RadioWorkModeB", &RadioImage::GetWorkModeB,
     &RadioImage::SetWorkModeB},
    {kVoiceSelectId, ListSource::LanguageFile, "Voice", &RadioImage::GetVoiceSelect,
     &RadioImage::SetVoiceSelect},
    {kTxTimeLimitId, ListSource::TimeLimits, nullptr, &RadioImage::GetTxTimeLimit,
     &RadioImage::SetTxTimeLimit},
    {kDualWatchTxId, ListSource::LanguageFile, "TxDtr", &RadioImage::GetDualWatchTx,
     &RadioImage::SetDualWatchTx},
    {kDisplayF1Id, ListSource::LanguageFile, "ChannelShowedF1", &RadioImage::GetDisplayF1,
     &RadioImage::SetDisplayF1},
    {kDisplayF2Id, ListSource::LanguageFile, "ChannelShowedF2", &RadioImage::GetDisplayF2,
     &RadioImage::SetDisplayF2},
    {kVoxLevelId, ListSource::Levels, nullptr, &RadioImage::GetVoxLevel, &RadioImage::SetVoxLevel},
};

struct CheckBinding {
    int controlId;
    bool (RadioImage::*get)() const;
    void (RadioImage::*set)(bool);
};

// The ANI transmit box is hidden, yet it shows and keeps its bit like the others.
constexpr CheckBinding kCheckBoxes[] = {
    {kEndToneId, &RadioImage::GetEndTone, &RadioImage::SetEndTone},
    {kBeepId, &RadioImage::GetBeep, &RadioImage::SetBeep},
    {kBacklightId, &RadioImage::GetBacklight, &RadioImage::SetBacklight},
    {kPowerSaveId, &RadioImage::GetPowerSave, &RadioImage::SetPowerSave},
    {kDualWatchId, &RadioImage::GetDualWatch, &RadioImage::SetDualWatch},
    {kRadioFunctionId, &RadioImage::GetRadioFunction, &RadioImage::SetRadioFunction},
    {kVoicePromptId, &RadioImage::GetVoicePrompt, &RadioImage::SetVoicePrompt},
    {kAniTxId, &RadioImage::GetAniTx, &RadioImage::SetAniTx},
    {kSideToneId, &RadioImage::GetSideTone, &RadioImage::SetSideTone},
};

std::vector<std::string> EntriesOf(const ChoiceBinding& binding) {
    switch (binding.source) {
        case ListSource::Levels:
            return DigitTexts(kLastLevel);
        case ListSource::TimeLimits: {
            std::vector<std::string> entries = DigitTexts(kLastTimeLimit);
            entries.front() = LoadLangString("IDS_OFF");
            return entries;
        }
        case ListSource::LanguageFile:
            return LoadLangList(binding.section);
    }
    return {};
}

}  // namespace

CFunctionPage::CFunctionPage(QWidget* parent, CHalvexDoc& document)
    : QWidget(parent), m_Document(document) {
    BuildPage(this, kFunctionPageTemplate);
    for (const ChoiceBinding& binding : kChoices) {
        auto* list = RequireControl<QComboBox>(this, binding.controlId);
        m_Lists.push_back(list);
        connect(list, &QComboBox::activated, this,
                [this, set = binding.set, id = binding.controlId](int index) {
                    (m_Document.*set)(index);
                    m_Document.SetModifiedFlag();
                    RecordEdit(id);
                });
    }
    for (const CheckBinding& binding : kCheckBoxes) {
        auto* box = RequireControl<QCheckBox>(this, binding.controlId);
        m_CheckBoxes.push_back(box);
        connect(box, &QCheckBox::clicked, this,
                [this, set = binding.set, id = binding.controlId](bool checked) {
                    (m_Document.*set)(checked);
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
        const ChoiceBinding& binding = kChoices[index];
        FillChoiceList(m_Lists[index], EntriesOf(binding), (m_Document.*binding.get)());
    }
    m_PttIdEdit->SetCode(m_Document.GetPttIdCode());
    for (size_t index = 0; index < m_CheckBoxes.size(); ++index) {
        m_CheckBoxes[index]->setChecked((m_Document.*kCheckBoxes[index].get)());
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
    if (code != m_Document.GetPttIdCode()) {
        m_Document.SetPttIdCode(code);
        m_Document.SetModifiedFlag();
        RecordEdit(kPttIdCodeId);
    }
}

void CFunctionPage::RecordEdit(int controlId) {
    m_Document.CommitEdit(StepName("IDS_STEP_ITEM", {StepArg::Control(controlId)}));
}
