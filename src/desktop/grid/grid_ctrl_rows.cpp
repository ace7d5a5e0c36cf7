// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-row selection by the row headers, beside the one focus cell: the pages act on whole
// channels through it, while clicks on data cells keep opening the editors.
#include <QKeyEvent>
#include <algorithm>

#include "grid/grid_ctrl.h"

std::vector<int> CGridCtrl::GetSelectedRows() const {
    return {m_SelectedRows.begin(), m_SelectedRows.end()};
}

void CGridCtrl::SetSelectedRows(std::set<int> rows) {
    if (rows == m_SelectedRows) {
        return;
    }
    m_SelectedRows = std::move(rows);
    RepaintIfDrawing();
}

void CGridCtrl::SelectRows(const std::vector<int>& rows) {
    std::set<int> chosen;
    for (int row : rows) {
        if (row >= m_FixedRows && row < GetRowCount()) {
            chosen.insert(row);
        }
    }
    m_RowAnchor = chosen.empty() ? -1 : *chosen.begin();
    SetSelectedRows(std::move(chosen));
}

void CGridCtrl::ClearRowSelection() {
    m_RowAnchor = -1;
    SetSelectedRows({});
}

namespace {

std::set<int> RowRange(int from, int to) {
    std::set<int> rows;
    for (int row = std::min(from, to); row <= std::max(from, to); ++row) {
        rows.insert(row);
    }
    return rows;
}

}  // namespace

bool CGridCtrl::PressForRows(GridCellId cell, Qt::KeyboardModifiers modifiers) {
    m_SelectingRows = false;
    if (!m_RowSelectionEnabled) {
        return false;
    }
    const bool rowHeader =
        cell.IsValid() && cell.column < m_FixedColumns && cell.row >= m_FixedRows;
    if (!rowHeader) {
        // Anywhere else a press starts over with cells, as a spreadsheet does.
        ClearRowSelection();
        return false;
    }
    if (modifiers & Qt::ControlModifier) {
        std::set<int> rows = m_SelectedRows;
        if (!rows.erase(cell.row)) {
            rows.insert(cell.row);
        }
        m_RowAnchor = cell.row;
        SetSelectedRows(std::move(rows));
        return true;
    }
    if (!(modifiers & Qt::ShiftModifier) || m_RowAnchor < m_FixedRows) {
        m_RowAnchor = cell.row;
    }
    SetSelectedRows(RowRange(m_RowAnchor, cell.row));
    m_SelectingRows = true;
    return true;
}

void CGridCtrl::DragRows(const QPoint& point) {
    // Only the height matters: the pointer may wander over the data cells while it drags.
    const GridCellId cell = CellFromPoint(QPoint(0, point.y()));
    if (cell.IsValid() && cell.row >= m_FixedRows) {
        SetSelectedRows(RowRange(m_RowAnchor, cell.row));
    }
}

bool CGridCtrl::KeyForRows(const QKeyEvent& event) {
    if (!m_RowSelectionEnabled || !m_Focus.IsValid() || event.key() != Qt::Key_Space ||
        event.modifiers() != Qt::ShiftModifier) {
        return false;
    }
    SelectRows({m_Focus.row});
    return true;
}

// Shift with the vertical keys stretches a row selection to the focus row; any other move
// of the focus leaves the rows behind.
void CGridCtrl::FollowFocusWithRows(GridCellId oldFocus, const QKeyEvent& event) {
    if (!m_RowSelectionEnabled || m_SelectedRows.empty() || m_Focus == oldFocus) {
        return;
    }
    const bool vertical = event.key() == Qt::Key_Up || event.key() == Qt::Key_Down ||
                          event.key() == Qt::Key_PageUp || event.key() == Qt::Key_PageDown ||
                          event.key() == Qt::Key_Home || event.key() == Qt::Key_End;
    if (vertical && (event.modifiers() & Qt::ShiftModifier) && m_RowAnchor >= m_FixedRows) {
        SetSelectedRows(RowRange(m_RowAnchor, m_Focus.row));
    } else {
        ClearRowSelection();
    }
}
