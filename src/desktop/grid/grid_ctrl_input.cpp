// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard, mouse and wheel handling of the grid and the notifications it sends its page.
// The focus never rests on a fixed cell; keys do nothing of their own until a cell has it.
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "common/navigation_keys.h"
#include "grid/grid_ctrl.h"

namespace {

// The wheel delta of one notch of a mouse wheel.
constexpr int kWheelNotch = 120;

// The keys with which a drop-down list opens, as in a list and in a grid of the desktop.
bool OpensCellList(const QKeyEvent& key) {
    const bool alt = key.modifiers() & Qt::AltModifier;
    return key.key() == Qt::Key_F4 ||
           (alt && (key.key() == Qt::Key_Down || key.key() == Qt::Key_Up));
}

}  // namespace

bool CGridCtrl::IsFixed(GridCellId cell) const {
    return cell.row < m_FixedRows || cell.column < m_FixedColumns;
}

GridCellId CGridCtrl::FirstDataCell() const {
    const GridCellId cell{m_FixedRows, m_FixedColumns};
    return IsCell(cell.row, cell.column) ? cell : GridCellId{};
}

GridNotification CGridCtrl::Notification(int code, GridCellId cell) {
    GridNotification notification;
    notification.sender = this;
    notification.controlId = m_ControlId;
    notification.code = code;
    notification.item.row = cell.row;
    notification.item.column = cell.column;
    notification.item.text = GetCellText(cell.row, cell.column);
    QRect rect;
    if (!CellRect(cell.row, cell.column, &rect)) {
        rect = QRect();
    }
    m_EditedRect = rect;
    if (!rect.isNull()) {
        notification.rectangle = QRect(viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }
    return notification;
}

void CGridCtrl::SetFocusCell(GridCellId cell, Travel travel) {
    if (cell == m_Focus) {
        return;
    }
    if (Cell* old = CellAt(m_Focus.row, m_Focus.column)) {
        old->state &= ~kCellFocused;
    }
    m_Focus = cell;
    if (Cell* current = CellAt(cell.row, cell.column)) {
        current->state |= kCellFocused;
        if (hasFocus()) {
            NotifyAccessibleCell(QAccessible::Focus, cell);
        }
        if (!IsCellFullyVisible(cell.row, cell.column)) {
            MakeVisible(cell.row, cell.column);
            // One line more in the direction of travel, so the user sees where the next step goes.
            switch (travel) {
                case Travel::Left:
                    ScrollWithoutFocus(Qt::Horizontal, ScrollRequest::LineUp);
                    break;
                case Travel::Right:
                    ScrollWithoutFocus(Qt::Horizontal, ScrollRequest::LineDown);
                    break;
                case Travel::Up:
                    ScrollWithoutFocus(Qt::Vertical, ScrollRequest::LineUp);
                    break;
                case Travel::Down:
                    ScrollWithoutFocus(Qt::Vertical, ScrollRequest::LineDown);
                    break;
                case Travel::WrapForward:
                    ScrollWithoutFocus(Qt::Vertical, ScrollRequest::LineDown);
                    ScrollWithoutFocus(Qt::Horizontal, ScrollRequest::Top);
                    break;
                case Travel::WrapBackward:
                    ScrollWithoutFocus(Qt::Vertical, ScrollRequest::LineUp);
                    ScrollWithoutFocus(Qt::Horizontal, ScrollRequest::Bottom);
                    break;
                case Travel::None:
                    break;
            }
        }
    }
    RepaintIfDrawing();
}

void CGridCtrl::StartEdit(GridCellId cell) {
    const Cell* target = CellAt(cell.row, cell.column);
    if (target == nullptr) {
        return;
    }
    MakeVisible(cell.row, cell.column);
    QRect rect;
    if (m_Editable && !(target->state & kCellReadOnly) && CellRect(cell.row, cell.column, &rect)) {
        emit BeginEdit(Notification(kGridBeginEdit, cell));
    }
}

bool CGridCtrl::event(QEvent* event) {
    // Tab moves between cells instead of between the dialog's controls; Ctrl+Tab stays the
    // dialog's.
    if (event->type() == QEvent::KeyPress && m_Focus.IsValid()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & Qt::ControlModifier)) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
    if (KeyForRows(*event)) {
        event->accept();
        return;
    }
    // Without a mouse nothing else would give the table a focus cell to move.
    if (!m_Focus.IsValid() && IsNavigationKey(*event) && FirstDataCell().IsValid()) {
        SetFocusCell(FirstDataCell(), Travel::None);
        event->accept();
        return;
    }
    const GridCellId oldFocus = m_Focus;
    if (m_Focus.IsValid() && HandleNavigationKey(event)) {
        FollowFocusWithRows(oldFocus, *event);
        event->accept();
    } else {
        event->ignore();
    }
}

bool CGridCtrl::IsNavigationKey(const QKeyEvent& event) const {
    return !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
           ::IsNavigationKey(event.key());
}

void CGridCtrl::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    const bool byKeyboard = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                            reason == Qt::ShortcutFocusReason;
    if (byKeyboard && !m_Focus.IsValid()) {
        SetFocusCell(FirstDataCell(), Travel::None);
    }
    // Qt announces the table itself after this handler; the cell comes after that, so the
    // screen reader ends on the cell the keys will move.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus()) {
                NotifyAccessibleCell(QAccessible::Focus, m_Focus);
            }
        },
        Qt::QueuedConnection);
}

GridCellId CGridCtrl::PageTarget(bool down) {
    const int before = TopLeftNonFixedCell().row;
    ScrollWithoutFocus(Qt::Vertical, down ? ScrollRequest::PageDown : ScrollRequest::PageUp);
    const int moved = TopLeftNonFixedCell().row - before;
    GridCellId target = m_Focus;
    if (moved == 0) {
        target.row = down ? GetRowCount() - 1 : m_FixedRows;
    } else {
        target.row = std::clamp(target.row + moved, m_FixedRows, GetRowCount() - 1);
    }
    return target;
}

bool CGridCtrl::HandleNavigationKey(QKeyEvent* event) {
    if (OpensCellList(*event)) {
        StartEdit(m_Focus);
        // The cell's editor, now focused, opens its list with the same key; an edit field
        // has no list and ignores it.
        QWidget* editor = QApplication::focusWidget();
        if (editor != nullptr && editor != this && !isAncestorOf(editor)) {
            QKeyEvent again(event->type(), event->key(), event->modifiers());
            QApplication::sendEvent(editor, &again);
        }
        return true;
    }
    const int lastRow = GetRowCount() - 1;
    const int lastColumn = GetColumnCount() - 1;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    GridCellId next = m_Focus;
    Travel travel = Travel::None;
    switch (event->key()) {
        case Qt::Key_Left:
            next.column = std::max(next.column - 1, m_FixedColumns);
            travel = Travel::Left;
            break;
        case Qt::Key_Right:
            next.column = std::min(next.column + 1, lastColumn);
            travel = Travel::Right;
            break;
        case Qt::Key_Up:
            next.row = std::max(next.row - 1, m_FixedRows);
            travel = Travel::Up;
            break;
        case Qt::Key_Down:
            next.row = std::min(next.row + 1, lastRow);
            travel = Travel::Down;
            break;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            if (event->modifiers() & Qt::ControlModifier) {
                return false;
            }
            if (event->key() == Qt::Key_Backtab || shift) {
                if (next.column > m_FixedColumns) {
                    --next.column;
                    travel = Travel::Left;
                } else if (next.row > m_FixedRows) {
                    next = {next.row - 1, lastColumn};
                    travel = Travel::WrapBackward;
                } else {
                    // Past the first cell the keyboard goes on to the dialog's previous control.
                    focusNextPrevChild(false);
                    return true;
                }
            } else if (next.column < lastColumn) {
                ++next.column;
                travel = Travel::Right;
            } else if (next.row < lastRow) {
                next = {next.row + 1, m_FixedColumns};
                travel = Travel::WrapForward;
            } else {
                focusNextPrevChild(true);
                return true;
            }
            break;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            next = PageTarget(event->key() == Qt::Key_PageDown);
            break;
        case Qt::Key_Home:
            ScrollWithoutFocus(Qt::Vertical, ScrollRequest::Top);
            next.row = m_FixedRows;
            break;
        case Qt::Key_End:
            ScrollWithoutFocus(Qt::Vertical, ScrollRequest::Bottom);
            next.row = lastRow;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Kept from the dialog: its default button would close it under the new editor.
            StartEdit(m_Focus);
            return true;
        default:
            return false;
    }
    SetFocusCell(next, travel);
    // Page and Home/End keys may scroll without moving the focus.
    RepaintIfDrawing();
    return true;
}

GridCellId CGridCtrl::HeaderClickTarget(GridCellId cell) const {
    const bool rowFixed = cell.row < m_FixedRows;
    const bool columnFixed = cell.column < m_FixedColumns;
    if (rowFixed && !columnFixed && m_FixedRows < GetRowCount()) {
        return {m_FixedRows, cell.column};
    }
    if (columnFixed && !rowFixed && m_FixedColumns < GetColumnCount()) {
        return {cell.row, m_FixedColumns};
    }
    return GridCellId{};
}

void CGridCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const GridCellId cell = CellFromPoint(event->position().toPoint());
    m_Pressed = true;
    m_Dragging = false;
    m_PressOnHeader = cell.IsValid() && IsFixed(cell);
    if (PressForRows(cell, event->modifiers())) {
        m_Dragging = false;
        const GridCellId target = HeaderClickTarget(cell);
        if (target.IsValid()) {
            SetFocusCell(target, Travel::None);
        }
        return;
    }
    if (!cell.IsValid() || cell == m_Focus) {
        return;
    }
    m_Dragging = !(cell.row < m_FixedRows && cell.column < m_FixedColumns);
    const GridCellId target = m_PressOnHeader ? HeaderClickTarget(cell) : cell;
    if (target.IsValid()) {
        SetFocusCell(target, Travel::None);
    }
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (m_SelectingRows && (event->buttons() & Qt::LeftButton)) {
        DragRows(event->position().toPoint());
        return;
    }
    if (!m_Dragging || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const GridCellId cell = CellFromPoint(event->position().toPoint());
    if (cell.IsValid() && !IsFixed(cell)) {
        SetFocusCell(cell, Travel::None);
    }
}

// A click on a data cell opens the page's editor on it; a click on a header only moves the
// focus.
void CGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_Pressed) {
        event->ignore();
        return;
    }
    m_Pressed = false;
    m_Dragging = false;
    m_SelectingRows = false;
    if (!m_PressOnHeader) {
        StartEdit(m_Focus);
    }
}

// A desktop without the setting reports 0; the control then scrolls three lines a notch.
int CGridCtrl::WheelLines() {
    const int lines = QApplication::wheelScrollLines();
    return lines == 0 ? 3 : lines;
}

void CGridCtrl::wheelEvent(QWheelEvent* event) {
    const int lines = WheelLines();
    const bool pages = lines == -1;
    const int delta = (pages ? 1 : lines) * event->angleDelta().y() + m_WheelRemainder;
    const int steps = delta / kWheelNotch;
    m_WheelRemainder = delta % kWheelNotch;
    const ScrollRequest up = pages ? ScrollRequest::PageUp : ScrollRequest::LineUp;
    const ScrollRequest down = pages ? ScrollRequest::PageDown : ScrollRequest::LineDown;
    for (int step = 0; step < std::abs(steps); ++step) {
        Scroll(Qt::Vertical, steps > 0 ? up : down);
    }
    event->accept();
}
