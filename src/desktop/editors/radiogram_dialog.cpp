// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/radiogram_dialog.h"

#include <QComboBox>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "codeplug/document.h"
#include "common/accessible_names.h"
#include "common/command_table.h"
#include "common/feature_context.h"
#include "common/relabel.h"
#include "config/language.h"
#include "editors/channel_cell_editor.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"

namespace {

constexpr int kRows = kFmPresetCount + 1;
constexpr int kColumns = 2;
constexpr int kColumnWidths[kColumns] = {40, 100};
constexpr int kHeaderHeight = 28;
constexpr int kRowHeight = 21;
constexpr int kCellFormat = Qt::AlignCenter | Qt::TextSingleLine;

QStringList ListTexts(const std::vector<std::string>& texts) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts) {
        list.push_back(QString::fromStdString(text));
    }
    return list;
}

}  // namespace

CRadiogramDlg::CRadiogramDlg(CHalvexDoc& document, QWidget* parent)
    : TemplateDialog(kRadiogramTemplate, parent), m_Edit(document), m_Grid(new CGridCtrl) {
    RelabelDialog(this, kRadiogramTemplate);
    m_Grid->SetControlId(kPresetGridId);
    ReplaceControl(this, kPresetGridId, m_Grid);
    m_Grid->setFont(font());
    m_FrequencyList = FindControl<QComboBox>(this, kFmFrequencyListId);
    m_PresetEditor = new CCellEditor(FindControl<QComboBox>(this, kPresetListId), m_Grid);
    m_Grid->SetAccessibleRowName(QString::fromStdString(LoadLangString("IDS_ROW_PRESET")));

    SetUpGrid();
    FillGrid();
    FillPresetList();
    m_FrequencyList->addItems(ListTexts(m_Edit.FrequencyChoices()));
    m_FrequencyList->setCurrentIndex(m_Edit.Frequency());

    connect(m_Grid, &CGridCtrl::BeginEdit, this, &CRadiogramDlg::OnBeginEdit);
    connect(m_PresetEditor, &CCellEditor::Chosen, this, &CRadiogramDlg::OnPresetChosen);
    connect(m_PresetEditor, &CCellEditor::FocusLost, this, &CRadiogramDlg::OnPresetListLeft);
    connect(m_FrequencyList, &QComboBox::activated, this, &CRadiogramDlg::OnFrequencyChosen);

    m_TemplateSize = size();
    m_GridTemplateSize = m_Grid->size();
    m_OkTemplateTop = FindControl<QWidget>(this, kIdOk)->y();
    setMinimumSize(m_TemplateSize);
    setMaximumSize(m_TemplateSize.width(), QWIDGETSIZE_MAX);
}

void CRadiogramDlg::resizeEvent(QResizeEvent* event) {
    TemplateDialog::resizeEvent(event);
    if (!m_TemplateSize.isValid()) {
        return;
    }
    const int extra = std::max(0, height() - m_TemplateSize.height());
    m_Grid->resize(m_GridTemplateSize + QSize(0, extra));
    for (int button : {kIdOk, kIdCancel}) {
        QWidget* control = FindControl<QWidget>(this, button);
        control->move(control->x(), m_OkTemplateTop + extra);
    }
}

QComboBox* CRadiogramDlg::PresetList() const {
    return m_PresetEditor->List();
}

void CRadiogramDlg::SetUpGrid() {
    m_Grid->SetRows(kRows);
    m_Grid->SetColumns(kColumns);
    m_Grid->SetFixedRows(1);
    m_Grid->SetFixedColumns(1);
    m_Grid->ClearFocus();
    for (int column = 0; column < kColumns; ++column) {
        m_Grid->SetColumnWidth(column, kColumnWidths[column]);
    }
    m_Grid->SetRowHeight(0, kHeaderHeight);
    for (int row = 1; row < kRows; ++row) {
        m_Grid->SetRowHeight(row, kRowHeight);
    }
}

void CRadiogramDlg::FillGrid() {
    m_Grid->SetDrawing(false, false);
    const std::vector<std::string> headers = m_Edit.Headers();
    for (int column = 0; column < kColumns; ++column) {
        m_Grid->SetCellText(0, column, QString::fromStdString(headers[size_t(column)]));
    }
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            m_Grid->SetCellFormat(row, column, kCellFormat);
        }
    }
    for (int n = 1; n < kRows; ++n) {
        m_Grid->SetCellText(n, 0, QString::number(n));
        m_Grid->SetCellText(n, 1, PresetText(n));
    }
    m_PresetEditor->Hide();
    m_Grid->SetDrawing(true, true);
}

void CRadiogramDlg::FillPresetList() {
    QSignalBlocker blocker(PresetList());
    PresetList()->clear();
    PresetList()->addItems(ListTexts(m_Edit.PresetChoices()));
}

void CRadiogramDlg::OnBeginEdit(const GridNotification& notification) {
    if (notification.rectangle.isNull()) {
        return;
    }
    m_EditRow = notification.item.row;
    const QRect rect(mapFromGlobal(notification.rectangle.topLeft()),
                     notification.rectangle.size());
    m_Grid->SetEditorCovers(true);
    FillPresetList();
    SetAccessibleControlName(PresetList(), m_Grid->CellPlace(m_EditRow, notification.item.column));
    m_PresetEditor->Place(rect, PresetList()->findText(notification.item.text, Qt::MatchExactly));
}

void CRadiogramDlg::OnPresetChosen(int index) {
    if (!m_PresetEditor->IsShown() || m_EditRow < 1 || m_EditRow > kFmPresetCount) {
        return;
    }
    m_Grid->SetEditorCovers(false);
    m_Edit.ChoosePreset(m_EditRow, index);
    m_Grid->SetCellText(m_EditRow, 1, PresetText(m_EditRow));
    m_Grid->RedrawRow(m_EditRow);
    if (PresetList()->hasFocus()) {
        m_PresetEditor->ReturnFocus();
    }
    m_PresetEditor->Hide();
}

void CRadiogramDlg::OnPresetListLeft() {
    // Keys in the closed list only move its selection; leaving it takes what it shows.
    if (m_PresetEditor->ListChanged() && PresetList()->currentIndex() >= 0) {
        OnPresetChosen(PresetList()->currentIndex());
        return;
    }
    m_Grid->SetEditorCovers(false);
    m_PresetEditor->Hide();
}

void CRadiogramDlg::OnFrequencyChosen(int index) {
    m_Edit.ChooseFrequency(index);
}

// The preset list's entry for the stored code; nothing for a code it lacks.
QString CRadiogramDlg::PresetText(int preset) const {
    const int index = m_Edit.Preset(preset);
    return index >= 0 ? QString::fromStdString(m_Edit.PresetChoices()[size_t(index)]) : QString();
}

void CRadiogramDlg::accept() {
    m_PresetEditor->Finish();
    m_Edit.Accept();
    TemplateDialog::accept();
}

void CRadiogramDlg::reject() {
    m_Edit.Reject();
    TemplateDialog::reject();
}

void InstallRadiogramCommand(const FeatureContext& context) {
    context.commands.SetCommandHandler(kCommandRadiogram, [&context] {
        CRadiogramDlg dialog(context.document, context.window);
        dialog.exec();
    });
}
