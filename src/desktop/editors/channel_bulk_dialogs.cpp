// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_bulk_dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

#include "common/accessible_names.h"
#include "common/message_box.h"
#include "common/relabel.h"
#include "common/step_names.h"
#include "config/language.h"
#include "editors/channel_grid.h"
#include "resources/ids/channel_edit_ids.h"

namespace {

constexpr const char* kDefaultStep = "12.5";
constexpr const char* kDefaultShift = "0";

void Refuse(QWidget* parent, const QString& text) {
    MessageBox::Show(parent, text.toStdString(), LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                     MessageButtons::Ok);
}

// The amount in an edit, or a refusal naming the text and its unit.
std::optional<int32_t> Amount(QLineEdit* edit, bool kilohertz) {
    std::optional<int32_t> value =
        ParseFrequencyAmount(edit->text().trimmed().toStdString(), kilohertz);
    if (!value) {
        Refuse(edit->window(),
               LangText("IDS_BAD_FREQUENCY_AMOUNT",
                        {edit->text(), kilohertz ? QStringLiteral("kHz") : QStringLiteral("MHz")}));
        edit->setFocus();
        edit->selectAll();
    }
    return value;
}

void NameByLabel(QWidget* control, int labelId) {
    SetAccessibleControlName(control, ControlLabel(labelId));
}

}  // namespace

CSetColumnDlg::CSetColumnDlg(int column, QWidget* parent)
    : TemplateDialog(kSetColumnTemplate, parent),
      m_Columns(FindControl<QComboBox>(this, kSetColumnListId)),
      m_Values(FindControl<QComboBox>(this, kSetValueListId)),
      m_Offset(FindControl<QLineEdit>(this, kSetOffsetEditId)),
      m_Hint(FindControl<QLabel>(this, kSetOffsetHintId)) {
    RelabelDialog(this, kSetColumnTemplate);
    m_Hint->setWordWrap(true);
    for (int candidate = 0; candidate < kChannelColumnCount; ++candidate) {
        if (CanSetColumn(candidate)) {
            m_Columns->addItem(LoadChannelHeader(candidate).simplified(), candidate);
        }
    }
    m_Columns->setCurrentIndex(std::max(0, m_Columns->findData(column)));
    NameByLabel(m_Columns, kSetColumnLabelId);
    NameByLabel(m_Values, kSetValueLabelId);
    NameByLabel(m_Offset, kSetValueLabelId);
    connect(m_Columns, &QComboBox::currentIndexChanged, this, [this] { ShowColumn(); });
    ShowColumn();
}

int CSetColumnDlg::Column() const {
    return m_Columns->currentData().toInt();
}

void CSetColumnDlg::ShowColumn() {
    const int column = Column();
    const bool transmit = column == kColumnTransmit;
    m_Values->setVisible(!transmit);
    m_Offset->setVisible(transmit);
    m_Hint->setText(LangText(transmit ? "IDS_SET_OFFSET_HINT" : "IDS_SET_TONE_HINT"));
    m_Values->clear();
    if (transmit) {
        return;
    }
    const ChannelTexts texts = LoadChannelCellTexts();
    const ChannelColumnDefinition& definition = kChannelColumns[static_cast<size_t>(column)];
    const std::vector<std::string>& items = definition.kind == ColumnKind::Tone
                                                ? texts.tones
                                                : texts.choices[static_cast<size_t>(column)];
    for (const std::string& item : items) {
        m_Values->addItem(QString::fromStdString(item));
    }
}

void CSetColumnDlg::accept() {
    ColumnSetting setting{Column(), m_Values->currentIndex(), std::nullopt};
    if (setting.column == kColumnTransmit && !m_Offset->text().trimmed().isEmpty()) {
        setting.offset = Amount(m_Offset, false);
        if (!setting.offset) {
            return;
        }
    }
    if (setting.column != kColumnTransmit && setting.index < 0) {
        return;
    }
    m_Setting = setting;
    TemplateDialog::accept();
}

CSortChannelsDlg::CSortChannelsDlg(bool hasSelection, QWidget* parent)
    : TemplateDialog(kSortTemplate, parent),
      m_Keys(FindControl<QComboBox>(this, kSortKeyListId)),
      m_Descending(FindControl<QRadioButton>(this, kSortDescendingId)),
      m_Selection(FindControl<QRadioButton>(this, kSortSelectionId)) {
    RelabelDialog(this, kSortTemplate);
    for (const char* key : {"IDS_SORT_RECEIVE", "IDS_SORT_NAME", "IDS_SORT_NUMBER"}) {
        m_Keys->addItem(LangText(key));
    }
    NameByLabel(m_Keys, kSortKeyLabelId);
    // Two pairs of choices, each its own group for the arrow keys and the checks.
    for (int first : {kSortAscendingId, kSortSelectionId}) {
        auto* group = new QButtonGroup(this);
        group->addButton(FindControl<QRadioButton>(this, first));
        group->addButton(FindControl<QRadioButton>(this, first + 1));
    }
    FindControl<QRadioButton>(this, kSortAscendingId)->setChecked(true);
    m_Selection->setEnabled(hasSelection);
    m_Selection->setChecked(hasSelection);
    FindControl<QRadioButton>(this, kSortAllId)->setChecked(!hasSelection);
}

SortRequest CSortChannelsDlg::Request() const {
    return {{static_cast<ChannelSortKey>(std::max(0, m_Keys->currentIndex())),
             m_Descending->isChecked()},
            m_Selection->isChecked()};
}

CFillFrequenciesDlg::CFillFrequenciesDlg(const QString& first, QWidget* parent)
    : TemplateDialog(kFillTemplate, parent),
      m_First(FindControl<QLineEdit>(this, kFillFirstEditId)),
      m_Step(FindControl<QLineEdit>(this, kFillStepEditId)),
      m_Shift(FindControl<QLineEdit>(this, kFillShiftEditId)) {
    RelabelDialog(this, kFillTemplate);
    m_First->setText(first);
    m_Step->setText(QString::fromLatin1(kDefaultStep));
    m_Shift->setText(QString::fromLatin1(kDefaultShift));
    NameByLabel(m_First, kFillFirstLabelId);
    NameByLabel(m_Step, kFillStepLabelId);
    NameByLabel(m_Shift, kFillShiftLabelId);
    m_First->selectAll();
}

void CFillFrequenciesDlg::accept() {
    const std::optional<int32_t> first = Amount(m_First, false);
    if (!first) {
        return;
    }
    const std::optional<int32_t> step = Amount(m_Step, true);
    if (!step) {
        return;
    }
    const std::optional<int32_t> shift = Amount(m_Shift, false);
    if (!shift) {
        return;
    }
    m_Request = {*first, *step, *shift};
    TemplateDialog::accept();
}
