// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/vfo_page.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <span>

#include "codeplug/document.h"
#include "common/accessible_names.h"
#include "common/relabel.h"
#include "common/step_names.h"
#include "config/language.h"
#include "editors/clamp_note.h"
#include "editors/page_controls.h"
#include "editors/vfo_frequencies.h"
#include "resources/ids/vfo_page_ids.h"

namespace {

constexpr int kFrequencyLength = 9;

struct VfoControlIds {
    int record;
    int receive, transmit;
    int receiveTone, transmitTone, power, bcl, bandwidth, scanAdd, reverse, pttId, compander;
    int step;
};

constexpr VfoControlIds kVfoControls[] = {
    {kVfoF1, kVfoF1ReceiveId, kVfoF1TransmitId, kVfoF1ReceiveToneId, kVfoF1TransmitToneId,
     kVfoF1PowerId, kVfoF1BclId, kVfoF1BandwidthId, kVfoF1ScanAddId, kVfoF1ReverseId, kVfoF1PttIdId,
     kVfoF1CompanderId, kVfoF1StepId},
    {kVfoF2, kVfoF2ReceiveId, kVfoF2TransmitId, kVfoF2ReceiveToneId, kVfoF2TransmitToneId,
     kVfoF2PowerId, kVfoF2BclId, kVfoF2BandwidthId, kVfoF2ScanAddId, kVfoF2ReverseId, kVfoF2PttIdId,
     kVfoF2CompanderId, kVfoF2StepId},
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

std::vector<std::string> LanguageTexts(std::span<const char* const> keys) {
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
    static constexpr const char* kKeys[] = {"IDS_LOW", "IDS_HIGH"};
    return LanguageTexts(kKeys);
}
std::vector<std::string> OffOnEntries() {
    static constexpr const char* kKeys[] = {"IDS_OFF", "IDS_ON"};
    return LanguageTexts(kKeys);
}
std::vector<std::string> BandwidthEntries() {
    static constexpr const char* kKeys[] = {"IDS_WIDE", "IDS_NARROW", "IDS_MIDDLE"};
    return LanguageTexts(kKeys);
}
std::vector<std::string> StepEntries() {
    return LoadLangList("Step");
}

template <RecordSide Side>
int ReadTone(const CHalvexDoc& document, int record) {
    return document.Image().GetTone(record, Side);
}
template <RecordSide Side>
void WriteTone(CHalvexDoc& document, int record, int index) {
    document.EditImage().SetTone(record, Side, index);
}
template <bool (RadioImage::*Get)(int) const>
int ReadSwitch(const CHalvexDoc& document, int record) {
    return (document.Image().*Get)(record) ? 1 : 0;
}
template <void (RadioImage::*Set)(int, bool)>
void WriteSwitch(CHalvexDoc& document, int record, int index) {
    (document.EditImage().*Set)(record, index != 0);
}
template <int (RadioImage::*Get)(int) const>
int ReadIndex(const CHalvexDoc& document, int record) {
    return (document.Image().*Get)(record);
}
template <void (RadioImage::*Set)(int, int)>
void WriteIndex(CHalvexDoc& document, int record, int index) {
    (document.EditImage().*Set)(record, index);
}

// The lists of one VFO in the order the page fills them; the step list comes last, after
// the frequencies.
constexpr ChoiceRow kChoiceRows[] = {
    {&VfoControlIds::receiveTone, ToneEntries, ReadTone<kDecodeSide>, WriteTone<kDecodeSide>},
    {&VfoControlIds::transmitTone, ToneEntries, ReadTone<kEncodeSide>, WriteTone<kEncodeSide>},
    {&VfoControlIds::power, LowHighEntries, ReadSwitch<&RadioImage::GetPowerHigh>,
     WriteSwitch<&RadioImage::SetPowerHigh>},
    {&VfoControlIds::bcl, OffOnEntries, ReadSwitch<&RadioImage::GetBcl>,
     WriteSwitch<&RadioImage::SetBcl>},
    {&VfoControlIds::bandwidth, BandwidthEntries, ReadIndex<&RadioImage::GetBandwidth>,
     WriteIndex<&RadioImage::SetBandwidth>},
    {&VfoControlIds::scanAdd, OffOnEntries, ReadSwitch<&RadioImage::GetScanAdd>,
     WriteSwitch<&RadioImage::SetScanAdd>},
    {&VfoControlIds::reverse, OffOnEntries, ReadSwitch<&RadioImage::GetReverse>,
     WriteSwitch<&RadioImage::SetReverse>},
    {&VfoControlIds::pttId, OffOnEntries, ReadSwitch<&RadioImage::GetPttId>,
     WriteSwitch<&RadioImage::SetPttId>},
    {&VfoControlIds::compander, OffOnEntries, ReadSwitch<&RadioImage::GetCompander>,
     WriteSwitch<&RadioImage::SetCompander>},
};

constexpr ChoiceRow kStepRow = {&VfoControlIds::step, StepEntries, ReadIndex<&RadioImage::GetStep>,
                                WriteIndex<&RadioImage::SetStep>};

const VfoControlIds& ControlsOf(int record) {
    return record == kVfoF2 ? kVfoControls[1] : kVfoControls[0];
}

void RecordEdit(CHalvexDoc& document, int record, int controlId) {
    const int group = record == kVfoF2 ? kVfoF2GroupId : kVfoF1GroupId;
    document.CommitEdit(
        StepName("IDS_STEP_VFO", {StepArg::Control(group), StepArg::Control(controlId)}));
}

}  // namespace

CVfoPage::CVfoPage(QWidget* parent, CHalvexDoc& document) : QWidget(parent), m_Document(document) {
    BuildPage(this, kVfoPageTemplate);
    for (size_t vfo = 0; vfo < m_Vfos.size(); ++vfo) {
        const VfoControlIds& ids = kVfoControls[vfo];
        VfoWidgets& widgets = m_Vfos[vfo];
        widgets.record = ids.record;
        widgets.receive = RequireControl<QLineEdit>(this, ids.receive);
        widgets.transmit = RequireControl<QLineEdit>(this, ids.transmit);
        for (QLineEdit* box : {widgets.receive, widgets.transmit}) {
            box->setMaxLength(kFrequencyLength);
            box->installEventFilter(this);
        }
        auto bind = [this, &ids](const ChoiceRow& row) {
            auto* list = RequireControl<QComboBox>(this, ids.*row.control);
            connect(list, &QComboBox::activated, this,
                    [this, record = ids.record, choice = &row](int index) {
                        // The entry the list already showed, chosen again, changes no byte.
                        const auto before = m_Document.Image().bytes;
                        choice->write(m_Document, record, index);
                        if (m_Document.Image().bytes != before) {
                            m_Document.SetModifiedFlag();
                            RecordEdit(m_Document, record, ControlsOf(record).*choice->control);
                        }
                    });
            return list;
        };
        for (const ChoiceRow& row : kChoiceRows) {
            widgets.lists.push_back(bind(row));
        }
        widgets.step = bind(kStepRow);
    }
    FillFromImage();
}

CVfoPage::VfoWidgets& CVfoPage::WidgetsOf(int record) {
    return record == kVfoF2 ? m_Vfos[1] : m_Vfos[0];
}

void CVfoPage::FillFromImage() {
    RelabelDialog(this, kVfoPageTemplate);
    NameFieldsByGroup();
    for (VfoWidgets& widgets : m_Vfos) {
        for (size_t row = 0; row < widgets.lists.size(); ++row) {
            const ChoiceRow& choice = kChoiceRows[row];
            FillChoiceList(widgets.lists[row], choice.entries(),
                           choice.read(m_Document, widgets.record));
        }
    }
    for (const VfoWidgets& widgets : m_Vfos) {
        ShowFrequencies(widgets.record);
    }
    for (const VfoWidgets& widgets : m_Vfos) {
        FillChoiceList(widgets.step, kStepRow.entries(), kStepRow.read(m_Document, widgets.record));
    }
}

// F1 and F2 have the same fields; their group box sits beside them, not around them, so
// without its title both would sound alike.
void CVfoPage::NameFieldsByGroup() {
    for (const VfoWidgets& widgets : m_Vfos) {
        const int groupId = widgets.record == kVfoF2 ? kVfoF2GroupId : kVfoF1GroupId;
        const QString title = ControlText(RequireControl<QGroupBox>(this, groupId));
        std::vector<QWidget*> fields{widgets.receive, widgets.transmit, widgets.step};
        fields.insert(fields.end(), widgets.lists.begin(), widgets.lists.end());
        for (QWidget* field : fields) {
            NameControlByGroup(field, title);
        }
    }
}

void CVfoPage::ShowFrequencies(int record) {
    VfoWidgets& widgets = WidgetsOf(record);
    const std::string receive = m_Document.Image().GetFrequencyText(record, kDecodeSide);
    const std::string offset = m_Document.Image().GetFrequencyText(record, kEncodeSide);
    const std::string transmit =
        VfoTransmitText(receive, offset, m_Document.Image().GetShiftDirection(record));
    widgets.receive->setText(QString::fromStdString(receive));
    widgets.transmit->setText(QString::fromStdString(transmit));
}

void CVfoPage::StoreFrequencies(int record) {
    VfoWidgets& widgets = WidgetsOf(record);
    // Only typing changes bytes: a value the page could not decode stays as the file has it.
    if (!widgets.receive->isModified() && !widgets.transmit->isModified()) {
        return;
    }
    const std::string receive = widgets.receive->text().toStdString();
    const std::string transmit = widgets.transmit->text().toStdString();
    const FrequencyLimits& limits = m_Document.GetFrequencyLimits();
    const VfoFrequencies stored = VfoFrequenciesFromTexts(receive, transmit, limits);
    const std::array<uint8_t, kRecordSize> before = m_Document.Image().GetRecord(record);
    const std::string receiveBefore = m_Document.Image().GetFrequencyText(record, kDecodeSide);
    m_Document.SetFrequencyText(record, kDecodeSide, stored.receiveText);
    m_Document.EditImage().SetShiftDirection(record, stored.shift);
    m_Document.SetFrequencyText(record, kEncodeSide, stored.offsetText);
    // Passing through the boxes without a change must not ask for a save at the end.
    if (m_Document.Image().GetRecord(record) != before) {
        m_Document.SetModifiedFlag();
        const bool receiveChanged =
            m_Document.Image().GetFrequencyText(record, kDecodeSide) != receiveBefore;
        RecordEdit(m_Document, record,
                   receiveChanged ? ControlsOf(record).receive : ControlsOf(record).transmit);
    }
    std::optional<FrequencyClamp> clamp = FrequencyClampOf(receive, limits);
    if (!clamp) {
        clamp = FrequencyClampOf(transmit, limits);
    }
    ShowStatusNote(ClampNote(clamp));
}

void CVfoPage::CommitEdit() {
    for (const VfoWidgets& widgets : m_Vfos) {
        const QWidget* focus = window()->focusWidget();
        if (focus == widgets.receive || focus == widgets.transmit) {
            StoreFrequencies(widgets.record);
            ShowFrequencies(widgets.record);
        }
    }
}

// Whichever box of a VFO loses the focus, both are stored and shown in their stored form.
bool CVfoPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (const VfoWidgets& widgets : m_Vfos) {
            if (watched == widgets.receive || watched == widgets.transmit) {
                StoreFrequencies(widgets.record);
                ShowFrequencies(widgets.record);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
