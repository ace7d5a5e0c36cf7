// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of the grid on screen and on paper. Colours follow the desktop palette at every
// paint, so a theme change reaches every cell that has no colour of its own.
#include <qdrawutil.h>
#include <QPaintEvent>
#include <QPainter>

#include "grid/grid_ctrl.h"

void CGridCtrl::paintEvent(QPaintEvent* event) {
    if (!m_Drawing) {
        return;
    }
    QPainter painter(viewport());
    // Never paint over the editor the page has placed on a cell.
    if (m_EditorCovers && !m_EditedRect.isEmpty()) {
        painter.setClipRegion(QRegion(viewport()->rect()).subtracted(QRegion(m_EditedRect)));
    }
    const std::vector<Span> rows = VisibleSpans(Qt::Vertical);
    const std::vector<Span> columns = VisibleSpans(Qt::Horizontal);
    for (const Span& row : rows) {
        for (const Span& column : columns) {
            const QRect rect(column.start, row.start, m_ColumnWidths[column.index],
                             m_RowHeights[row.index]);
            if (rect.intersects(event->rect())) {
                DrawCell(painter, row.index, column.index, rect, false);
                DrawGridLines(painter, rect, false, false);
            }
        }
    }
}

// rect is the whole cell; its last pixel row and column belong to the grid lines.
void CGridCtrl::DrawCell(QPainter& painter, int row, int column, const QRect& rect,
                         bool printing) const {
    const Cell& cell = m_Cells[row][column];
    const QRect inside = rect.adjusted(0, 0, -1, -1);
    if (inside.isEmpty()) {
        return;
    }
    const QPalette& colours = palette();
    const bool fixed = row < m_FixedRows || column < m_FixedColumns;
    const bool rowSelected = !printing && row >= m_FixedRows && IsRowSelected(row);
    const bool selected = !printing && !fixed && (cell.state & kCellSelected);
    QColor back = cell.backColour;
    QColor text = cell.textColour;
    if (!back.isValid()) {
        back = colours.color(fixed ? QPalette::Button : QPalette::Base);
    }
    if (!text.isValid()) {
        const bool grey = !fixed && (cell.state & kCellReadOnly);
        text = grey ? colours.color(QPalette::Disabled, QPalette::Text)
                    : colours.color(fixed ? QPalette::WindowText : QPalette::Text);
    }
    if (selected || rowSelected) {
        back = colours.color(QPalette::Highlight);
        text = colours.color(QPalette::HighlightedText);
    }
    painter.fillRect(inside, back);
    if (fixed) {
        DrawFixedCellEdge(painter, row, column, inside, printing);
    } else if ((!printing && (cell.state & kCellFocused)) || (cell.state & kCellMarked)) {
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(inside.adjusted(0, 0, -1, -1));
    }
    painter.setPen(text);
    // Setting a font costs a font lookup even when nothing changes.
    if (!printing && painter.font() != cell.font) {
        painter.setFont(cell.font);
    }
    painter.drawText(inside.adjusted(m_Margin, 0, -m_Margin, 0), cell.format, cell.text);
}

// The headers of the focus cell's row and column stand out raised, pointing at the cell.
void CGridCtrl::DrawFixedCellEdge(QPainter& painter, int row, int column, const QRect& inside,
                                  bool printing) const {
    if (printing) {
        return;
    }
    const bool pointsAtFocus = (column < m_FixedColumns && row == m_Focus.row) ||
                               (row < m_FixedRows && column == m_Focus.column);
    if (pointsAtFocus) {
        qDrawWinButton(&painter, inside, palette(), false, nullptr);
        return;
    }
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(inside.topLeft(), inside.topRight());
    painter.drawLine(inside.topLeft(), inside.bottomLeft());
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawLine(inside.bottomLeft(), inside.bottomRight());
    painter.drawLine(inside.topRight(), inside.bottomRight());
}

void CGridCtrl::DrawGridLines(QPainter& painter, const QRect& rect, bool top, bool left) const {
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    if (top) {
        painter.drawLine(rect.topLeft(), rect.topRight());
    }
    painter.drawLine(rect.topRight(), rect.bottomRight());
    if (left) {
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
    }
}

void CGridCtrl::RedrawCell(int row, int column) {
    QRect rect;
    if (m_Drawing && CellRect(row, column, &rect)) {
        viewport()->update(rect.adjusted(0, 0, 1, 1));
    }
}

void CGridCtrl::RedrawRow(int row) {
    if (!m_Drawing) {
        return;
    }
    for (const Span& span : VisibleSpans(Qt::Vertical)) {
        if (span.index == row) {
            viewport()->update(0, span.start, viewport()->width(), m_RowHeights[row]);
        }
    }
}

void CGridCtrl::PrintRowAt(QPainter& painter, int row, int y, bool topLine) const {
    int x = 0;
    for (int column = 0; column < GetColumnCount(); ++column) {
        const QRect rect(x, y, m_ColumnWidths[column], m_RowHeights[row]);
        DrawCell(painter, row, column, rect, true);
        DrawGridLines(painter, rect, topLine, column == 0);
        x += m_ColumnWidths[column];
    }
}

void CGridCtrl::PrintColumnHeadings(QPainter& painter) const {
    painter.save();
    int y = 0;
    for (int row = 0; row < m_FixedRows; ++row) {
        PrintRowAt(painter, row, y, row == 0);
        y += m_RowHeights[row];
    }
    painter.restore();
}

bool CGridCtrl::PrintRow(QPainter& painter, int row) const {
    if (row < 0 || row >= GetRowCount()) {
        return false;
    }
    painter.save();
    PrintRowAt(painter, row, 0, row == 0);
    painter.restore();
    return true;
}
