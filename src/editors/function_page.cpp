#include "editors/function_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "app/relabel.h"
#include "codeplug/document.h"
#include "config/language.h"
#include "editors/page_controls.h"
#include "editors/ptt_id_edit.h"

namespace {

constexpr int kTemplateId = 151;
constexpr int kPttIdCodeId = 1061;
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
    {1026, ListSource::Levels, nullptr, &RadioImage::GetSquelch, &RadioImage::SetSquelch},
    {1028, ListSource::LanguageFile, "ScanType", &RadioImage::GetScanMode,
     &RadioImage::SetScanMode},
    {1035, ListSource::LanguageFile, "FreqMode", &RadioImage::GetFreqMode,
     &RadioImage::SetFreqMode},
    {1037, ListSource::LanguageFile, "PttId", &RadioImage::GetPttIdMode, &RadioImage::SetPttIdMode},
    {1041, ListSource::LanguageFile, "RadiogramWorkMode", &RadioImage::GetRadioWorkMode,
     &RadioImage::SetRadioWorkMode},
    {1043, ListSource::LanguageFile, "RadioWorkModeA", &RadioImage::GetWorkModeA,
     &RadioImage::SetWorkModeA},
    {1045, ListSource::LanguageFile, "RadioWorkModeB", &RadioImage::GetWorkModeB,
     &RadioImage::SetWorkModeB},
    {1047, ListSource::LanguageFile, "Voice", &RadioImage::GetVoiceSelect,
     &RadioImage::SetVoiceSelect},
    {1049, ListSource::TimeLimits, nullptr, &RadioImage::GetTxTimeLimit,
     &RadioImage::SetTxTimeLimit},
    {1051, ListSource::LanguageFile, "TxDtr", &RadioImage::GetDualWatchTx,
     &RadioImage::SetDualWatchTx},
    {1054, ListSource::LanguageFile, "ChannelShowedF1", &RadioImage::GetDisplayF1,
     &RadioImage::SetDisplayF1},
    {1056, ListSource::LanguageFile, "ChannelShowedF2", &RadioImage::GetDisplayF2,
     &RadioImage::SetDisplayF2},
    {1059, ListSource::Levels, nullptr, &RadioImage::GetVoxLevel, &RadioImage::SetVoxLevel},
};

struct CheckBinding {
    int controlId;
    bool (RadioImage::*get)() const;
    void (RadioImage::*set)(bool);
};

// The ANI transmit box (1052) is hidden, yet it shows and keeps its bit like the others.
constexpr CheckBinding kCheckBoxes[] = {
    {1030, &RadioImage::GetEndTone, &RadioImage::SetEndTone},
    {1031, &RadioImage::GetBeep, &RadioImage::SetBeep},
    {1032, &RadioImage::GetBacklight, &RadioImage::SetBacklight},
    {1033, &RadioImage::GetPowerSave, &RadioImage::SetPowerSave},
    {1029, &RadioImage::GetDualWatch, &RadioImage::SetDualWatch},
    {1038, &RadioImage::GetRadioFunction, &RadioImage::SetRadioFunction},
    {1039, &RadioImage::GetVoicePrompt, &RadioImage::SetVoicePrompt},
    {1052, &RadioImage::GetAniTx, &RadioImage::SetAniTx},
    {1057, &RadioImage::GetSideTone, &RadioImage::SetSideTone},
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

[[maybe_unused]] const bool g_Registered =
    RegisterMainViewPage(1, "IDS_FUNCTION", [](QWidget* tabControl, CHalvexDoc& document) {
        return new CFunctionPage(tabControl, document);
    });

}  // namespace

CFunctionPage::CFunctionPage(QWidget* parent, CHalvexDoc& document)
    : QWidget(parent), m_Document(document) {
    BuildPage(this, kTemplateId);
    for (const ChoiceBinding& binding : kChoices) {
        auto* list = RequireControl<QComboBox>(this, binding.controlId);
        m_Lists.push_back(list);
        connect(list, &QComboBox::activated, this, [this, set = binding.set](int index) {
            (m_Document.*set)(index);
            m_Document.SetModifiedFlag();
        });
    }
    for (const CheckBinding& binding : kCheckBoxes) {
        auto* box = RequireControl<QCheckBox>(this, binding.controlId);
        m_CheckBoxes.push_back(box);
        connect(box, &QCheckBox::clicked, this, [this, set = binding.set](bool checked) {
            (m_Document.*set)(checked);
            m_Document.SetModifiedFlag();
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
    RelabelDialog(this, kTemplateId);
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
    const PttIdCode code = m_PttIdEdit->GetCode();
    if (code != m_Document.GetPttIdCode()) {
        m_Document.SetPttIdCode(code);
        m_Document.SetModifiedFlag();
    }
}
