// SPDX-License-Identifier: GPL-3.0-or-later
// Where cells are on screen and how the grid scrolls. Scroll positions count pixels of the
// non-fixed area; the drawing snaps to the first row and column starting at or after them,
// so the fixed rows and columns stay put and a scrolled row is never shown cut at the top.
#include <QAbstractSlider>
#include <QScrollBar>
#include <algorithm>
#include <limits>
#include <numeric>

#include "grid/grid_ctrl.h"

GridCellId CGridCtrl::TopLeftNonFixedCell() const {
    GridCellId cell{m_FixedRows, m_FixedColumns};
    const int rowPosition = verticalScrollBar()->value();
    for (int top = 0; cell.row < GetRowCount() - 1 && top < rowPosition; ++cell.row) {
        top += m_RowHeights[cell.row];
    }
    const int columnPosition = horizontalScrollBar()->value();
    for (int left = 0; cell.column < GetColumnCount() - 1 && left < columnPosition; ++cell.column) {
        left += m_ColumnWidths[cell.column];
    }
    return cell;
}

std::vector<CGridCtrl::Span> CGridCtrl::VisibleSpans(Qt::Orientation orientation) const {
    const bool vertical = orientation == Qt::Vertical;
    const std::vector<int>& sizes = vertical ? m_RowHeights : m_ColumnWidths;
    const int fixedCount = vertical ? m_FixedRows : m_FixedColumns;
    const int extent = vertical ? viewport()->height() : viewport()->width();
    const GridCellId topLeft = TopLeftNonFixedCell();
    std::vector<Span> spans;
    int start = 0;
    for (int index = 0; index < fixedCount && start < extent; ++index) {
        spans.push_back({index, start});
        start += sizes[index];
    }
    const int count = static_cast<int>(sizes.size());
    for (int index = vertical ? topLeft.row : topLeft.column; index < count && start < extent;
         ++index) {
        spans.push_back({index, start});
        start += sizes[index];
    }
    return spans;
}

bool CGridCtrl::CellRect(int row, int column, QRect* rect) const {
    if (!IsCell(row, column)) {
        return false;
    }
    const std::vector<Span> rows = VisibleSpans(Qt::Vertical);
    const std::vector<Span> columns = VisibleSpans(Qt::Horizontal);
    const auto rowSpan =
        std::find_if(rows.begin(), rows.end(), [row](const Span& s) { return s.index == row; });
    const auto columnSpan = std::find_if(columns.begin(), columns.end(),
                                         [column](const Span& s) { return s.index == column; });
    if (rowSpan == rows.end() || columnSpan == columns.end()) {
        return false;
    }
    // The last pixel row and column of a cell carry its grid lines; the rectangle is inside them.
    *rect = QRect(columnSpan->start, rowSpan->start, std::max(0, m_ColumnWidths[column] - 1),
                  std::max(0, m_RowHeights[row] - 1));
    return true;
}

GridCellId CGridCtrl::CellFromPoint(const QPoint& point) const {
    GridCellId cell;
    for (const Span& span : VisibleSpans(Qt::Vertical)) {
        if (point.y() >= span.start && point.y() < span.start + m_RowHeights[span.index]) {
            cell.row = span.index;
        }
    }
    for (const Span& span : VisibleSpans(Qt::Horizontal)) {
        if (point.x() >= span.start && point.x() < span.start + m_ColumnWidths[span.index]) {
            cell.column = span.index;
        }
    }
    return cell.IsValid() ? cell : GridCellId{};
}

int CGridCtrl::LineEnd(Qt::Orientation orientation, int index) const {
    const std::vector<int>& sizes = orientation == Qt::Vertical ? m_RowHeights : m_ColumnWidths;
    for (const Span& span : VisibleSpans(orientation)) {
        if (span.index == index) {
            return span.start + sizes[index];
        }
    }
    return std::numeric_limits<int>::max();
}

bool CGridCtrl::IsCellFullyVisible(int row, int column) const {
    return LineEnd(Qt::Vertical, row) <= viewport()->height() &&
           LineEnd(Qt::Horizontal, column) <= viewport()->width();
}

void CGridCtrl::ResetScrollBars() {
    const int visibleHeight = std::max(0, viewport()->height() - GetFixedRowHeight());
    const int visibleWidth = std::max(0, viewport()->width() - GetFixedColumnWidth());
    const int scrollableHeight = GetTotalHeight() - GetFixedRowHeight();
    const int scrollableWidth = GetTotalWidth() - GetFixedColumnWidth();
    verticalScrollBar()->setRange(0, std::max(0, scrollableHeight - visibleHeight));
    verticalScrollBar()->setPageStep(std::max(1, visibleHeight));
    horizontalScrollBar()->setRange(0, std::max(0, scrollableWidth - visibleWidth));
    horizontalScrollBar()->setPageStep(std::max(1, visibleWidth));
}

void CGridCtrl::resizeEvent(QResizeEvent* event) {
    ResetScrollBars();
    QAbstractScrollArea::resizeEvent(event);
}

void CGridCtrl::scrollContentsBy(int, int) {
    RepaintIfDrawing();
}

int CGridCtrl::ScrolledPosition(Qt::Orientation orientation, ScrollRequest request) const {
    const bool vertical = orientation == Qt::Vertical;
    const QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    const std::vector<int>& sizes = vertical ? m_RowHeights : m_ColumnWidths;
    const int fixedCount = vertical ? m_FixedRows : m_FixedColumns;
    const GridCellId topLeft = TopLeftNonFixedCell();
    const int first = vertical ? topLeft.row : topLeft.column;
    int position = bar->value();
    switch (request) {
        case ScrollRequest::LineUp:
            position = first > fixedCount ? position - sizes[first - 1] : bar->minimum();
            break;
        case ScrollRequest::LineDown:
            if (first < static_cast<int>(sizes.size())) {
                position += sizes[first];
            }
            break;
        case ScrollRequest::PageUp:
            position -= bar->pageStep();
            break;
        case ScrollRequest::PageDown:
            position += bar->pageStep();
            break;
        case ScrollRequest::Top:
            position = bar->minimum();
            break;
        case ScrollRequest::Bottom:
            position = bar->maximum();
            break;
    }
    return std::clamp(position, bar->minimum(), bar->maximum());
}

void CGridCtrl::ScrollWithoutFocus(Qt::Orientation orientation, ScrollRequest request) {
    QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    bar->setValue(ScrolledPosition(orientation, request));
}

// Scrolling takes the keyboard focus, which closes any editor the page has open.
void CGridCtrl::Scroll(Qt::Orientation orientation, ScrollRequest request) {
    if (!hasFocus()) {
        setFocus(Qt::OtherFocusReason);
    }
    ScrollWithoutFocus(orientation, request);
}

void CGridCtrl::OnScrollBarAction(Qt::Orientation orientation, int action) {
    ScrollRequest request;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            request = ScrollRequest::LineUp;
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            request = ScrollRequest::LineDown;
            break;
        case QAbstractSlider::SliderPageStepSub:
            request = ScrollRequest::PageUp;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            request = ScrollRequest::PageDown;
            break;
        case QAbstractSlider::SliderToMinimum:
            request = ScrollRequest::Top;
            break;
        case QAbstractSlider::SliderToMaximum:
            request = ScrollRequest::Bottom;
            break;
        default:
            return;
    }
    if (!hasFocus()) {
        setFocus(Qt::OtherFocusReason);
    }
    // The slider has already stepped by its own amount; replace that with a row or column step.
    QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
    bar->setSliderPosition(ScrolledPosition(orientation, request));
}

void CGridCtrl::MakeVisible(int row, int column) {
    if (IsCell(row, column)) {
        MakeLineVisible(Qt::Vertical, row);
        MakeLineVisible(Qt::Horizontal, column);
    }
}

void CGridCtrl::MakeLineVisible(Qt::Orientation orientation, int index) {
    const bool vertical = orientation == Qt::Vertical;
    const std::vector<int>& sizes = vertical ? m_RowHeights : m_ColumnWidths;
    const int fixedCount = vertical ? m_FixedRows : m_FixedColumns;
    const int extent = vertical ? viewport()->height() : viewport()->width();
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    if (index < fixedCount) {
        return;
    }
    const GridCellId topLeft = TopLeftNonFixedCell();
    if (index < (vertical ? topLeft.row : topLeft.column)) {
        bar->setValue(std::accumulate(sizes.begin() + fixedCount, sizes.begin() + index, 0));
    }
    while (LineEnd(orientation, index) > extent) {
        const int before = bar->value();
        ScrollWithoutFocus(orientation, ScrollRequest::LineDown);
        if (bar->value() == before) {
            break;
        }
    }
}
