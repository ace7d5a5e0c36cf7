// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_page.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <algorithm>
#include <cstdio>

#include "codeplug/document.h"
#include "common/accessible_names.h"
#include "common/command_table.h"
#include "common/dialog_builder.h"
#include "common/message_box.h"
#include "common/relabel.h"
#include "common/step_names.h"
#include "config/language.h"
#include "config/setting_definitions.h"
#include "editors/channel_cell_editor.h"
#include "editors/channel_find_bar.h"
#include "editors/channel_grid.h"
#include "editors/page_words.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"

namespace {

constexpr int kFrequencyTextLimit = 9;
constexpr int kNameTextLimit = 5;
constexpr size_t kRangeBufferSize = 30;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The list entry a tone cell's text selects: the first that begins with it.
int ToneEntryFor(const QComboBox* list, const QString& text) {
    for (int index = 0; index < list->count(); ++index) {
        if (list->itemText(index).startsWith(text, Qt::CaseInsensitive)) {
            return index;
        }
    }
    return -1;
}

}  // namespace

CChannelPage::CChannelPage(CHalvexDoc& document, std::string settingsPath, QWidget* parent)
    : QWidget(parent),
      m_Document(document),
      m_SettingsPath(std::move(settingsPath)),
      m_Grid(new CGridCtrl) {
    BuildFromTemplate(this, kChannelPageTemplate);
    m_Grid->SetControlId(kChannelGridId);
    ReplaceControl(this, kChannelGridId, m_Grid);
    // The system's message-box font here is wider than the one the column widths were made
    // for; the page's own font keeps every header inside its column.
    m_Grid->setFont(font());
    m_GridTemplateSize = m_Grid->size();
    m_PageTemplateSize = size();
    m_RangeSelector = FindControl<QComboBox>(this, kRangeSelectorId);
    m_RangeTemplateWidth = m_RangeSelector->width();

    auto* frequencyEdit = FindControl<QLineEdit>(this, kFrequencyEditorId);
    auto* nameEdit = FindControl<QLineEdit>(this, kNameEditorId);
    frequencyEdit->setMaxLength(kFrequencyTextLimit);
    nameEdit->setMaxLength(kNameTextLimit);
    m_FrequencyEditor = new CCellEditor(frequencyEdit, m_Grid, CCellEditor::Keys::Frequency);
    m_NameEditor = new CCellEditor(nameEdit, m_Grid, CCellEditor::Keys::Name);
    m_DecodeEditor = new CCellEditor(FindControl<QComboBox>(this, kDecodeListId), m_Grid);
    m_EncodeEditor = new CCellEditor(FindControl<QComboBox>(this, kEncodeListId), m_Grid);
    m_ChoiceEditor = new CCellEditor(FindControl<QComboBox>(this, kChoiceListId), m_Grid);

    m_FindBar = new CChannelFindBar(m_Document, m_Grid, this);
    connect(m_Grid, &CGridCtrl::BeginEdit, this, &CChannelPage::OnBeginEdit);
    m_Grid->EnableRowSelection(true);
    m_Grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_Grid, &CGridCtrl::customContextMenuRequested, this, &CChannelPage::ShowContextMenu);
    connect(m_RangeSelector, &QComboBox::activated, this, &CChannelPage::OnRangeSelected);
    connect(m_FrequencyEditor, &CCellEditor::FocusLost, this, &CChannelPage::CommitFrequency);
    connect(m_NameEditor, &CCellEditor::FocusLost, this, &CChannelPage::CommitName);
    for (auto [editor, which] :
         {std::pair{m_DecodeEditor, kDecodeSide}, std::pair{m_EncodeEditor, kEncodeSide}}) {
        CCellEditor* tone = editor;
        const RecordSide side = which;
        connect(tone, &CCellEditor::Chosen, this, [this, tone, side] { CommitTone(tone, side); });
        connect(tone, &CCellEditor::FocusLost, this,
                [this, tone, side] { CommitTone(tone, side); });
    }
    connect(m_ChoiceEditor, &CCellEditor::Chosen, this, &CChannelPage::CommitChoice);
    // Keys in the closed list only move its selection; leaving it takes what it shows.
    connect(m_ChoiceEditor, &CCellEditor::FocusLost, this, [this] {
        if (m_ChoiceEditor->ListChanged()) {
            CommitChoice(m_ChoiceEditor->List()->currentIndex());
        } else {
            CloseEditor(m_ChoiceEditor);
        }
    });
    Reload();
}

void CChannelPage::Reload() {
    // A whole-document change drops an open edit: it belongs to the document that was.
    HideEditors();
    m_Grid->SetEditorCovers(false);
    m_EditRow = m_EditColumn = -1;
    // Rows chosen in the document that was mean nothing in the one that is.
    m_Grid->ClearRowSelection();
    RelabelDialog(this, kChannelPageTemplate);
    LoadTexts();
    FillRangeSelector();
    PlaceFindBar();
    BuildGrid();
    FillToneLists();
    m_FindBar->Refresh();
}

void CChannelPage::PlaceFindBar() {
    const QRect range = m_RangeSelector->geometry();
    const int gap = range.height() / 2;
    const int left = range.right() + gap;
    m_FindBar->setGeometry(left, range.top(), m_Grid->geometry().right() - left + 1,
                           range.height());
}

void CChannelPage::Grow(const QSize& extra) {
    // The template fixes the page's size; the room goes to the grid's rows alone.
    setFixedSize(m_PageTemplateSize + QSize(0, extra.height()));
    m_Grid->resize(m_GridTemplateSize + QSize(0, extra.height()));
}

void CChannelPage::LoadTexts() {
    m_Texts = LoadChannelTableTexts(m_SettingsPath);
    m_Grid->SetAccessibleRowName(Text(LoadLangString("IDS_ROW_CHANNEL")));
}

void CChannelPage::FillRangeSelector() {
    QSignalBlocker blocker(m_RangeSelector);
    m_RangeSelector->clear();
    for (int k = 0; k < settings::kRangeNames.count; ++k) {
        std::optional<std::string> range =
            settings::kRangeNames.Read(m_SettingsPath, k, kRangeBufferSize);
        if (!range) {
            break;
        }
        m_RangeSelector->addItem(Text(*range));
    }
    m_RangeSelector->setCurrentIndex(m_Document.FindModelLine());
    // A multi-band line is longer than the template's box; widen it rather than cut it.
    m_RangeSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_RangeSelector->resize(std::max(m_RangeTemplateWidth, m_RangeSelector->sizeHint().width()),
                            m_RangeSelector->height());
}

void CChannelPage::FillToneLists() {
    QStringList tones;
    tones.reserve(static_cast<qsizetype>(m_Texts.cells.tones.size()));
    for (const std::string& tone : m_Texts.cells.tones) {
        tones.push_back(Text(tone));
    }
    for (CCellEditor* editor : {m_DecodeEditor, m_EncodeEditor}) {
        QSignalBlocker blocker(editor->List());
        editor->List()->clear();
        editor->List()->addItems(tones);
    }
}

void CChannelPage::BuildGrid() {
    const int rows = m_Document.GetChannelCount() + 1;
    if (m_Grid->GetRowCount() != rows) {
        LayOutChannelGrid(*m_Grid, m_Document.GetChannelCount());
    }
    m_Grid->SetDrawing(false, false);
    FillChannelGrid(*m_Grid, m_Document, m_Texts, TableSettings());
    m_Grid->SetDrawing(true, true);
}

ChannelTableSettings CChannelPage::TableSettings() const {
    return ReadChannelTableSettings(m_SettingsPath, m_Document.GetChannelCount());
}

void CChannelPage::RefreshRow(int n) {
    ApplyRow(n, TableSettings());
}

void CChannelPage::RefreshRows(int first, int last) {
    const ChannelTableSettings settings = TableSettings();
    for (int n = std::max(first, 1); n <= std::min(last, m_Document.GetChannelCount()); ++n) {
        ApplyRow(n, settings);
    }
}

std::vector<int> CChannelPage::SelectedChannels() const {
    return m_Grid->GetSelectedRows();
}

void CChannelPage::SelectChannels(const std::vector<int>& channels) {
    m_Grid->SelectRows(channels);
    if (!channels.empty()) {
        const int column = std::max(m_Grid->GetFocusCell().column, int{kColumnReceive});
        m_Grid->SelectCell(*std::min_element(channels.begin(), channels.end()), column);
    }
}

int CChannelPage::TargetChannel() const {
    const std::vector<int> selected = SelectedChannels();
    if (!selected.empty()) {
        return selected.front();
    }
    const int row = m_Grid->GetFocusCell().row;
    return row >= 1 && row <= m_Document.GetChannelCount() ? row : 0;
}

int CChannelPage::LastEditableChannel() const {
    return ::LastEditableChannel(TableSettings());
}

QMenu* CChannelPage::CreateContextMenu(const QPoint& position) {
    const GridCellId cell = m_Grid->CellFromPoint(position);
    if (cell.IsValid() && cell.row >= 1 && !m_Grid->IsRowSelected(cell.row)) {
        SelectChannels({cell.row});
    }
    CommandTable* commands = WindowCommands(this);
    auto* menu = new QMenu(this);
    if (commands == nullptr) {
        return menu;
    }
    commands->UpdateCommandStates();
    for (int command :
         {kCommandCut, kCommandCopy, kCommandPaste, 0, kCommandInsertChannel, kCommandDeleteChannel,
          kCommandMoveChannelUp, kCommandMoveChannelDown, kCommandClear, 0, kCommandSetForSelected,
          kCommandSortChannels, kCommandFillFrequencies}) {
        if (command == 0) {
            menu->addSeparator();
        } else if (QAction* action = commands->MenuAction(command)) {
            menu->addAction(action);
        }
    }
    return menu;
}

void CChannelPage::ShowContextMenu(const QPoint& position) {
    QMenu* menu = CreateContextMenu(position);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_Grid->viewport()->mapToGlobal(position));
}

void CChannelPage::ApplyRow(int n, const ChannelTableSettings& settings) {
    if (!m_Document.Image().IsChannelEmpty(n)) {
        HideEditors();
    }
    ShowChannelRow(*m_Grid, m_Document, n, m_Texts, settings);
    m_Grid->RedrawRow(n);
}

void CChannelPage::CommitEdit() {
    for (CCellEditor* editor :
         {m_FrequencyEditor, m_DecodeEditor, m_EncodeEditor, m_ChoiceEditor, m_NameEditor}) {
        editor->Finish();
    }
}

void CChannelPage::HideEditors() {
    for (CCellEditor* editor :
         {m_FrequencyEditor, m_DecodeEditor, m_EncodeEditor, m_ChoiceEditor, m_NameEditor}) {
        editor->Hide();
    }
}

bool CChannelPage::IsEditing(const CCellEditor* editor) const {
    return editor->IsShown() && m_EditRow >= 1 && m_EditRow <= m_Document.GetChannelCount();
}

void CChannelPage::CloseEditor(CCellEditor* editor) {
    m_Grid->SetEditorCovers(false);
    if (editor->Widget()->hasFocus()) {
        editor->ReturnFocus();
    }
    editor->Hide();
}

void CChannelPage::OnBeginEdit(const GridNotification& notification) {
    if (notification.rectangle.isNull()) {
        return;
    }
    m_EditRow = notification.item.row;
    m_EditColumn = notification.item.column;
    const QRect rect(mapFromGlobal(notification.rectangle.topLeft()),
                     notification.rectangle.size());
    const QString text = notification.item.text;
    m_Grid->SetEditorCovers(true);
    // The screen reader calls the editor by its channel and column, as it called the cell.
    SetAccessibleControlName(EditorFor(m_EditColumn)->Widget(),
                             m_Grid->CellPlace(m_EditRow, m_EditColumn));
    CCellEditor* editor = EditorFor(m_EditColumn);
    if (editor == m_FrequencyEditor || editor == m_NameEditor) {
        editor->Place(rect, text);
    } else if (editor == m_DecodeEditor || editor == m_EncodeEditor) {
        editor->Place(rect, ToneEntryFor(editor->List(), text));
    } else {
        QComboBox* list = m_ChoiceEditor->List();
        {
            QSignalBlocker blocker(list);
            list->clear();
            for (const std::string& choice : m_Texts.cells.choices[m_EditColumn]) {
                list->addItem(Text(choice));
            }
        }
        m_ChoiceEditor->Place(rect, list->findText(text, Qt::MatchExactly));
    }
}

CCellEditor* CChannelPage::EditorFor(int column) const {
    if (column <= kColumnNumber || column >= kChannelColumnCount) {
        return m_ChoiceEditor;
    }
    const ChannelColumnDefinition& definition = kChannelColumns[static_cast<size_t>(column)];
    switch (definition.kind) {
        case ColumnKind::Frequency:
            return m_FrequencyEditor;
        case ColumnKind::Tone:
            return definition.side == kDecodeSide ? m_DecodeEditor : m_EncodeEditor;
        case ColumnKind::Name:
            return m_NameEditor;
        default:
            return m_ChoiceEditor;
    }
}

void CChannelPage::CommitFrequency() {
    if (!IsEditing(m_FrequencyEditor)) {
        return;
    }
    if (!m_FrequencyEditor->TextChanged()) {
        CloseEditor(m_FrequencyEditor);
        return;
    }
    const std::string entry = m_FrequencyEditor->Edit()->text().toStdString();
    std::optional<FrequencyClamp> clamp;
    if (kChannelColumns[static_cast<size_t>(m_EditColumn)].side == kDecodeSide) {
        clamp = CommitReceiveFrequency(m_Document, m_EditRow, entry);
    } else {
        clamp = CommitTransmitFrequency(m_Document, m_EditRow, entry);
    }
    ShowStatusNote(QString::fromStdString(ClampNoteText(clamp)));
    RecordEdit();
    CloseEditor(m_FrequencyEditor);
    RefreshRow(m_EditRow);
}

void CChannelPage::CommitTone(CCellEditor* editor, RecordSide which) {
    if (!IsEditing(editor)) {
        return;
    }
    const int tone = editor->List()->currentIndex();
    if (tone >= 0) {
        ::CommitTone(m_Document, m_EditRow, which, tone);
        RecordEdit();
    }
    CloseEditor(editor);
    RefreshRow(m_EditRow);
}

void CChannelPage::CommitChoice(int selection) {
    if (!IsEditing(m_ChoiceEditor)) {
        return;
    }
    ::CommitChoice(m_Document, m_EditRow, m_EditColumn, selection);
    RecordEdit();
    CloseEditor(m_ChoiceEditor);
    RefreshRow(m_EditRow);
}

void CChannelPage::CommitName() {
    if (!IsEditing(m_NameEditor)) {
        return;
    }
    if (!m_NameEditor->TextChanged()) {
        CloseEditor(m_NameEditor);
        return;
    }
    CommitChannelName(m_Document, m_EditRow, m_NameEditor->Edit()->text().toStdString());
    RecordEdit();
    CloseEditor(m_NameEditor);
    RefreshRow(m_EditRow);
}

void CChannelPage::OnRangeSelected(int index) {
    const int current = m_Document.FindModelLine();
    if (index == current) {
        return;
    }
    MessageAnswer answer =
        MessageBox::Show(this, LoadLangString("IDS_CONFIRM_FREQ"), LoadLangString("IDS_CONFIRM"),
                         MessageIcon::Exclamation, MessageButtons::OkCancel);
    if (answer != MessageAnswer::Ok) {
        QSignalBlocker blocker(m_RangeSelector);
        m_RangeSelector->setCurrentIndex(current);
        return;
    }
    m_Document.ChangeFrequencyRange(index);
    m_Document.CommitEdit(StepName("IDS_STEP_RANGE"));
}

void CChannelPage::RecordEdit() {
    m_Document.CommitEdit(StepName(
        "IDS_STEP_CHANNEL", {QString::number(m_EditRow), StepArg::ChannelColumn(m_EditColumn)}));
}
