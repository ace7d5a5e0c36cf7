// SPDX-License-Identifier: GPL-3.0-or-later
// Construction, table shape and cell contents of the grid. Setting cell contents never
// repaints: pages fill many cells and then redraw the rows they changed.
#include "grid/grid_ctrl.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QScrollBar>
#include <algorithm>
#include <numeric>

CGridCtrl::CGridCtrl(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    // Beyond the last row and column the control shows the dialog's face, as its window does.
    viewport()->setBackgroundRole(QPalette::Button);
    setFont(QApplication::font("QMessageBox"));
    ApplyFont();
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { OnScrollBarAction(Qt::Vertical, action); });
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { OnScrollBarAction(Qt::Horizontal, action); });
}

bool CGridCtrl::IsCell(int row, int column) const {
    return row >= 0 && row < GetRowCount() && column >= 0 && column < GetColumnCount();
}

CGridCtrl::Cell* CGridCtrl::CellAt(int row, int column) {
    return IsCell(row, column) ? &m_Cells[row][column] : nullptr;
}

const CGridCtrl::Cell* CGridCtrl::CellAt(int row, int column) const {
    return IsCell(row, column) ? &m_Cells[row][column] : nullptr;
}

CGridCtrl::Cell CGridCtrl::NewCell(int row, int column) const {
    Cell cell;
    cell.font = font();
    if (row > 0 && column > 0) {
        cell.format = m_Cells[row - 1][column].format;
    }
    return cell;
}

bool CGridCtrl::SetRows(int count) {
    if (count < 0) {
        return false;
    }
    const int oldCount = GetRowCount();
    m_RowHeights.resize(count, m_DefaultRowHeight);
    m_Cells.resize(count);
    for (int row = oldCount; row < count; ++row) {
        m_Cells[row].reserve(GetColumnCount());
        for (int column = 0; column < GetColumnCount(); ++column) {
            m_Cells[row].push_back(NewCell(row, column));
        }
    }
    m_FixedRows = std::min(m_FixedRows, count);
    if (m_Focus.row >= count) {
        m_Focus = GridCellId{};
    }
    if (!m_SelectedRows.empty() && *m_SelectedRows.rbegin() >= count) {
        SetSelectedRows(std::set<int>(m_SelectedRows.begin(), m_SelectedRows.lower_bound(count)));
    }
    ResetScrollBars();
    RepaintIfDrawing();
    NotifyAccessibleTable(true);
    return true;
}

bool CGridCtrl::SetColumns(int count) {
    if (count < 0) {
        return false;
    }
    const int oldCount = GetColumnCount();
    m_ColumnWidths.resize(count, m_DefaultColumnWidth);
    for (int row = 0; row < GetRowCount(); ++row) {
        m_Cells[row].resize(std::min(oldCount, count));
        for (int column = oldCount; column < count; ++column) {
            m_Cells[row].push_back(NewCell(row, column));
        }
    }
    m_FixedColumns = std::min(m_FixedColumns, count);
    if (m_Focus.column >= count) {
        m_Focus = GridCellId{};
    }
    ResetScrollBars();
    RepaintIfDrawing();
    NotifyAccessibleTable(true);
    return true;
}

bool CGridCtrl::SetFixedRows(int count) {
    if (count < 0) {
        return false;
    }
    if (count > GetRowCount()) {
        SetRows(count);
    }
    m_FixedRows = count;
    if (m_Focus.IsValid() && m_Focus.row < count) {
        m_Focus = GridCellId{};
    }
    ResetScrollBars();
    RepaintIfDrawing();
    NotifyAccessibleTable(true);
    return true;
}

bool CGridCtrl::SetFixedColumns(int count) {
    if (count < 0) {
        return false;
    }
    if (count > GetColumnCount()) {
        SetColumns(count);
    }
    m_FixedColumns = count;
    if (m_Focus.IsValid() && m_Focus.column < count) {
        m_Focus = GridCellId{};
    }
    ResetScrollBars();
    RepaintIfDrawing();
    NotifyAccessibleTable(true);
    return true;
}

bool CGridCtrl::SetRowHeight(int row, int pixels) {
    if (row < 0 || row >= GetRowCount() || pixels < 0) {
        return false;
    }
    m_RowHeights[row] = pixels;
    ResetScrollBars();
    RepaintIfDrawing();
    return true;
}

bool CGridCtrl::SetColumnWidth(int column, int pixels) {
    if (column < 0 || column >= GetColumnCount() || pixels < 0) {
        return false;
    }
    m_ColumnWidths[column] = pixels;
    ResetScrollBars();
    RepaintIfDrawing();
    return true;
}

int CGridCtrl::GetRowHeight(int row) const {
    return row >= 0 && row < GetRowCount() ? m_RowHeights[row] : -1;
}

int CGridCtrl::GetColumnWidth(int column) const {
    return column >= 0 && column < GetColumnCount() ? m_ColumnWidths[column] : -1;
}

int CGridCtrl::GetTotalWidth() const {
    return std::accumulate(m_ColumnWidths.begin(), m_ColumnWidths.end(), 0);
}

int CGridCtrl::GetTotalHeight() const {
    return std::accumulate(m_RowHeights.begin(), m_RowHeights.end(), 0);
}

int CGridCtrl::GetFixedColumnWidth() const {
    return std::accumulate(m_ColumnWidths.begin(), m_ColumnWidths.begin() + m_FixedColumns, 0);
}

int CGridCtrl::GetFixedRowHeight() const {
    return std::accumulate(m_RowHeights.begin(), m_RowHeights.begin() + m_FixedRows, 0);
}

bool CGridCtrl::SetCellText(int row, int column, const QString& text) {
    Cell* cell = CellAt(row, column);
    if (cell == nullptr) {
        return false;
    }
    const bool changed = cell->text != text;
    cell->text = text;
    // A table filled with drawing off is announced once, when drawing comes back on.
    if (changed && m_Drawing) {
        NotifyAccessibleCell(QAccessible::NameChanged, {row, column});
    }
    return true;
}

QString CGridCtrl::GetCellText(int row, int column) const {
    const Cell* cell = CellAt(row, column);
    return cell != nullptr ? cell->text : QString();
}

bool CGridCtrl::SetCellState(int row, int column, quint32 state) {
    Cell* cell = CellAt(row, column);
    if (cell != nullptr) {
        cell->state = state;
    }
    return cell != nullptr;
}

quint32 CGridCtrl::GetCellState(int row, int column) const {
    const Cell* cell = CellAt(row, column);
    return cell != nullptr ? cell->state : 0;
}

bool CGridCtrl::SetCellBackColour(int row, int column, const QColor& colour) {
    Cell* cell = CellAt(row, column);
    if (cell != nullptr) {
        cell->backColour = colour;
    }
    return cell != nullptr;
}

bool CGridCtrl::SetCellTextColour(int row, int column, const QColor& colour) {
    Cell* cell = CellAt(row, column);
    if (cell != nullptr) {
        cell->textColour = colour;
    }
    return cell != nullptr;
}

bool CGridCtrl::SetCellFormat(int row, int column, int format) {
    Cell* cell = CellAt(row, column);
    if (cell != nullptr) {
        cell->format = format;
    }
    return cell != nullptr;
}

int CGridCtrl::GetCellFormat(int row, int column) const {
    const Cell* cell = CellAt(row, column);
    return cell != nullptr ? cell->format : 0;
}

void CGridCtrl::SetDrawing(bool on, bool resetScrollBars) {
    const bool wasOff = !m_Drawing;
    m_Drawing = on;
    if (resetScrollBars) {
        ResetScrollBars();
    }
    if (on && wasOff) {
        viewport()->update();
        NotifyAccessibleTable(false);
    }
}

void CGridCtrl::SetEditorCovers(bool on) {
    m_EditorCovers = on;
    if (!on && m_Drawing) {
        // The editor may already be gone; paint what it covered.
        viewport()->update(m_EditedRect);
    }
}

void CGridCtrl::ClearFocus() {
    for (std::vector<Cell>& row : m_Cells) {
        for (Cell& cell : row) {
            cell.state &= ~kCellSelected;
        }
    }
    ClearRowSelection();
    SetFocusCell(GridCellId{}, Travel::None);
}

void CGridCtrl::SelectCell(int row, int column) {
    if (!IsCell(row, column)) {
        return;
    }
    SetFocusCell(GridCellId{row, column}, Travel::None);
    MakeVisible(row, column);
    viewport()->update();
}

void CGridCtrl::RepaintIfDrawing() {
    if (m_Drawing) {
        viewport()->update();
    }
}

// Every cell follows a new font, and rows and columns made afterwards are sized by it.
void CGridCtrl::ApplyFont() {
    const QFontMetrics metrics(font());
    m_Margin = metrics.horizontalAdvance(QLatin1Char(' '));
    m_DefaultRowHeight = metrics.height() + metrics.leading() + 2 * m_Margin;
    m_DefaultColumnWidth = 2 * (m_Margin + 6 * metrics.averageCharWidth());
    for (std::vector<Cell>& row : m_Cells) {
        for (Cell& cell : row) {
            cell.font = font();
        }
    }
    ResetScrollBars();
    RepaintIfDrawing();
}

void CGridCtrl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        ApplyFont();
    }
    QAbstractScrollArea::changeEvent(event);
}
