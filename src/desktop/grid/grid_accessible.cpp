// SPDX-License-Identifier: GPL-3.0-or-later
#include "grid/grid_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <map>
#include <utility>

#include "grid/grid_ctrl.h"

namespace {

// One cell, or one header of the fixed row, in grid coordinates. It holds no text of its own,
// so it always says what the grid shows now.
class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCellAccessible(CGridCtrl* grid, GridCellId cell) : m_Grid(grid), m_Cell(cell) {}

    bool isValid() const override {
        return m_Grid != nullptr && m_Cell.row < m_Grid->GetRowCount() &&
               m_Cell.column < m_Grid->GetColumnCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return m_Grid != nullptr ? m_Grid->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_Grid.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text type) const override {
        if (!isValid()) {
            return QString();
        }
        switch (type) {
            case QAccessible::Name:
                return m_Grid->GetCellText(m_Cell.row, m_Cell.column);
            case QAccessible::Description:
                return IsHeader() ? QString() : m_Grid->CellPlace(m_Cell.row, m_Cell.column);
            default:
                return QString();
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        QRect rect;
        if (!isValid() || !m_Grid->CellRect(m_Cell.row, m_Cell.column, &rect)) {
            return QRect();
        }
        return QRect(m_Grid->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }

    QAccessible::Role role() const override {
        return IsHeader() ? QAccessible::ColumnHeader : QAccessible::Cell;
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        QRect rect;
        if (!m_Grid->isVisible() || !m_Grid->CellRect(m_Cell.row, m_Cell.column, &rect)) {
            state.invisible = true;
            state.offscreen = true;
        }
        if (IsHeader()) {
            return state;
        }
        const quint32 flags = m_Grid->GetCellState(m_Cell.row, m_Cell.column);
        const bool fixed = m_Cell.column < m_Grid->GetFixedColumnCount();
        state.focusable = !fixed;
        state.focused = !fixed && m_Grid->hasFocus() && m_Grid->GetFocusCell() == m_Cell;
        state.selected = (flags & kCellSelected) != 0;
        state.readOnly = fixed || !m_Grid->IsEditable() || (flags & kCellReadOnly) != 0;
        state.editable = !state.readOnly;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface && !IsHeader()) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        return nullptr;
    }

    bool isSelected() const override {
        return isValid() && (m_Grid->GetCellState(m_Cell.row, m_Cell.column) & kCellSelected);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return m_Cell.column; }
    int rowIndex() const override {
        return m_Grid != nullptr ? m_Cell.row - m_Grid->GetFixedRowCount() : -1;
    }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    GridCellId Cell() const { return m_Cell; }
    bool IsHeader() const { return m_Grid != nullptr && m_Cell.row < m_Grid->GetFixedRowCount(); }

private:
    QPointer<CGridCtrl> m_Grid;
    GridCellId m_Cell;
};

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(CGridCtrl* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~GridAccessible() override { DropCells(); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) {
            return static_cast<QAccessibleTableInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override {
        return Cell(Grid()->CellOfAccessibleIndex(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* cell = dynamic_cast<const GridCellAccessible*>(child);
        return cell != nullptr ? Grid()->AccessibleIndex(cell->Cell()) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const GridCellId cell =
            Grid()->CellFromPoint(Grid()->viewport()->mapFromGlobal(QPoint(x, y)));
        return cell.row >= Grid()->GetFixedRowCount() ? Cell(cell) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return Grid()->hasFocus() ? Cell(Grid()->GetFocusCell()) : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= rowCount()) {
            return nullptr;
        }
        return Cell({row + Grid()->GetFixedRowCount(), column});
    }
    int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (int row = Grid()->GetFixedRowCount(); row < Grid()->GetRowCount(); ++row) {
            for (int column = 0; column < columnCount(); ++column) {
                if (Grid()->GetCellState(row, column) & kCellSelected) {
                    cells.push_back(Cell({row, column}));
                }
            }
        }
        return cells;
    }
    QString columnDescription(int column) const override {
        return Grid()->GetFixedRowCount() > 0 ? Grid()->GetCellText(0, column) : QString();
    }
    QString rowDescription(int row) const override {
        return Grid()->RowPlace(row + Grid()->GetFixedRowCount());
    }
    // Both users switch selection off, so whole rows and columns are never selected.
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return Grid()->GetColumnCount(); }
    int rowCount() const override {
        return std::max(0, Grid()->GetRowCount() - Grid()->GetFixedRowCount());
    }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }

    // Cells read the grid live, so changed texts keep their objects; a new shape does not.
    void modelChange(QAccessibleTableModelChangeEvent* event) override {
        if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) {
            DropCells();
        }
    }

    // The cell object of a grid cell, made on first use; null for no cell.
    QAccessibleInterface* Cell(GridCellId cell) const {
        if (cell.row < 0 || cell.row >= Grid()->GetRowCount() || cell.column < 0 ||
            cell.column >= Grid()->GetColumnCount()) {
            return nullptr;
        }
        // A reshaped grid may have moved its headers; its old cell objects describe nothing.
        const Shape shape = CurrentShape();
        if (shape != m_Shape) {
            DropCells();
            m_Shape = shape;
        }
        const auto key = std::make_pair(cell.row, cell.column);
        auto found = m_Cells.find(key);
        if (found == m_Cells.end()) {
            const QAccessible::Id id =
                QAccessible::registerAccessibleInterface(new GridCellAccessible(Grid(), cell));
            found = m_Cells.emplace(key, id).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }

private:
    using Shape = std::pair<std::pair<int, int>, std::pair<int, int>>;

    CGridCtrl* Grid() const { return static_cast<CGridCtrl*>(widget()); }
    Shape CurrentShape() const {
        return {{Grid()->GetRowCount(), Grid()->GetColumnCount()},
                {Grid()->GetFixedRowCount(), Grid()->GetFixedColumnCount()}};
    }
    void DropCells() const {
        for (const auto& [cell, id] : m_Cells) {
            QAccessible::deleteAccessibleInterface(id);
        }
        m_Cells.clear();
    }

    mutable std::map<std::pair<int, int>, QAccessible::Id> m_Cells;
    mutable Shape m_Shape;
};

GridAccessible* TableOf(CGridCtrl* grid) {
    return grid != nullptr
               ? dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(grid))
               : nullptr;
}

QList<QAccessibleInterface*> GridCellAccessible::columnHeaderCells() const {
    GridAccessible* table = TableOf(m_Grid);
    if (table == nullptr || m_Grid->GetFixedRowCount() == 0) {
        return {};
    }
    return {table->Cell({0, m_Cell.column})};
}

QList<QAccessibleInterface*> GridCellAccessible::rowHeaderCells() const {
    GridAccessible* table = TableOf(m_Grid);
    if (table == nullptr || m_Grid->GetFixedColumnCount() == 0) {
        return {};
    }
    return {table->Cell({m_Cell.row, 0})};
}

QAccessibleInterface* GridFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("CGridCtrl")) {
        if (auto* grid = qobject_cast<CGridCtrl*>(object)) {
            return new GridAccessible(grid);
        }
    }
    return nullptr;
}

}  // namespace

void InstallGridAccessibility() {
    QAccessible::installFactory(GridFactory);
}

QString CGridCtrl::RowPlace(int row) const {
    const QString first = GetFixedColumnCount() > 0 ? GetCellText(row, 0) : QString::number(row);
    return m_AccessibleRowName.isEmpty() ? first : m_AccessibleRowName.arg(first);
}

QString CGridCtrl::CellPlace(int row, int column) const {
    const QString header = GetFixedRowCount() > 0 ? GetCellText(0, column) : QString();
    const QString place = RowPlace(row);
    return header.isEmpty() ? place : place + QStringLiteral(", ") + header;
}

int CGridCtrl::AccessibleIndex(GridCellId cell) const {
    if (!IsCell(cell.row, cell.column) || cell.row < m_FixedRows) {
        return -1;
    }
    return (cell.row - m_FixedRows) * GetColumnCount() + cell.column;
}

GridCellId CGridCtrl::CellOfAccessibleIndex(int index) const {
    const int columns = GetColumnCount();
    if (index < 0 || columns == 0) {
        return GridCellId{};
    }
    const GridCellId cell{m_FixedRows + index / columns, index % columns};
    return IsCell(cell.row, cell.column) ? cell : GridCellId{};
}

void CGridCtrl::NotifyAccessibleCell(QAccessible::Event type, GridCellId cell) {
    const int index = AccessibleIndex(cell);
    if (!QAccessible::isActive() || index < 0) {
        return;
    }
    // Without the table interface the grid has no cells for an event to name.
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this);
    if (table == nullptr || table->tableInterface() == nullptr) {
        return;
    }
    QAccessibleEvent event(this, type);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
}

void CGridCtrl::NotifyAccessibleTable(bool reshaped) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleTableModelChangeEvent event(
        this, reshaped ? QAccessibleTableModelChangeEvent::ModelReset
                       : QAccessibleTableModelChangeEvent::DataChanged);
    if (!reshaped) {
        event.setFirstRow(0);
        event.setLastRow(std::max(0, GetRowCount() - m_FixedRows - 1));
        event.setFirstColumn(0);
        event.setLastColumn(std::max(0, GetColumnCount() - 1));
    }
    QAccessible::updateAccessibility(&event);
}
