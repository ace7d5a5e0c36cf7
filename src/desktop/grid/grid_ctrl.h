// SPDX-License-Identifier: GPL-3.0-or-later
// The editable grid of the channel table and the FM presets: text cells under fixed header
// rows and columns, one focus cell, keyboard and mouse navigation and scrolling. It never
// edits a cell itself; it asks its page with BeginEdit and the page places its own editor.
#pragma once

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QFont>
#include <QRect>
#include <set>
#include <vector>

#include "grid/grid_item.h"

class QPainter;

class CGridCtrl : public QAbstractScrollArea {
    Q_OBJECT

public:
    enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, Top, Bottom };

    explicit CGridCtrl(QWidget* parent = nullptr);

    void SetControlId(int id) { m_ControlId = id; }

    bool SetRows(int count);
    bool SetColumns(int count);
    bool SetFixedRows(int count);
    bool SetFixedColumns(int count);
    int GetRowCount() const { return static_cast<int>(m_RowHeights.size()); }
    int GetColumnCount() const { return static_cast<int>(m_ColumnWidths.size()); }
    int GetFixedRowCount() const { return m_FixedRows; }
    int GetFixedColumnCount() const { return m_FixedColumns; }

    bool SetRowHeight(int row, int pixels);
    bool SetColumnWidth(int column, int pixels);
    int GetRowHeight(int row) const;
    int GetColumnWidth(int column) const;
    int GetDefaultRowHeight() const { return m_DefaultRowHeight; }

    int GetTotalWidth() const;
    int GetTotalHeight() const;
    int GetFixedColumnWidth() const;
    int GetFixedRowHeight() const;

    bool SetCellText(int row, int column, const QString& text);
    QString GetCellText(int row, int column) const;
    bool SetCellState(int row, int column, quint32 state);
    quint32 GetCellState(int row, int column) const;
    bool SetCellBackColour(int row, int column, const QColor& colour);
    bool SetCellTextColour(int row, int column, const QColor& colour);
    bool SetCellFormat(int row, int column, int format);
    // Qt::Alignment and Qt::TextFlag bits as drawText takes them; 0 for an absent cell.
    int GetCellFormat(int row, int column) const;

    void SetEditable(bool on) { m_Editable = on; }
    bool IsEditable() const { return m_Editable; }
    void SetDrawing(bool on, bool resetScrollBars);
    void SetEditorCovers(bool on);
    void ClearFocus();
    GridCellId GetFocusCell() const { return m_Focus; }
    // Moves the focus cell there and scrolls it into view.
    void SelectCell(int row, int column);

    // Whole rows chosen by their headers (click, Shift-click, Ctrl-click, drag) or Shift+Space;
    // off until the page asks for it. Cell focus and editing work as before beside it.
    void EnableRowSelection(bool on) { m_RowSelectionEnabled = on; }
    std::vector<int> GetSelectedRows() const;
    bool IsRowSelected(int row) const { return m_SelectedRows.contains(row); }
    // Replaces the selection with the data rows among rows; the first becomes the anchor.
    void SelectRows(const std::vector<int>& rows);
    void ClearRowSelection();

    void RedrawCell(int row, int column);
    void RedrawRow(int row);
    void MakeVisible(int row, int column);
    bool CellRect(int row, int column, QRect* rect) const;
    GridCellId CellFromPoint(const QPoint& point) const;
    void Scroll(Qt::Orientation orientation, ScrollRequest request);

    // How a screen reader names where a cell is: rowName with %1 the text of the row's first
    // cell, then the column's header, as in "Channel 12, RX Freq (MHz)".
    void SetAccessibleRowName(const QString& rowName) { m_AccessibleRowName = rowName; }
    QString RowPlace(int row) const;
    QString CellPlace(int row, int column) const;
    // A data cell's index among the cells of the grid's accessible table; -1 for a header.
    int AccessibleIndex(GridCellId cell) const;
    GridCellId CellOfAccessibleIndex(int index) const;

    // Both draw at the painter's origin in its current font, so the caller's print font and
    // mapping apply. Cells carry no focus or selection marks on paper.
    void PrintColumnHeadings(QPainter& painter) const;
    bool PrintRow(QPainter& painter, int row) const;

signals:
    void BeginEdit(const GridNotification& notification);

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // How the focus arrived, which decides the extra scroll step past a newly visible cell.
    enum class Travel { None, Left, Right, Up, Down, WrapForward, WrapBackward };

    // A visible row or column and where it starts in client coordinates.
    struct Span {
        int index;
        int start;
    };

    struct Cell {
        QString text;
        quint32 state = 0;
        int format = 0;
        QColor backColour;
        QColor textColour;
        QFont font;
    };

    bool IsCell(int row, int column) const;
    Cell* CellAt(int row, int column);
    const Cell* CellAt(int row, int column) const;
    Cell NewCell(int row, int column) const;
    void ApplyFont();
    void ResetScrollBars();
    void RepaintIfDrawing();
    GridCellId TopLeftNonFixedCell() const;
    std::vector<Span> VisibleSpans(Qt::Orientation orientation) const;
    int LineEnd(Qt::Orientation orientation, int index) const;
    bool IsCellFullyVisible(int row, int column) const;
    void MakeLineVisible(Qt::Orientation orientation, int index);
    void OnScrollBarAction(Qt::Orientation orientation, int action);
    int ScrolledPosition(Qt::Orientation orientation, ScrollRequest request) const;
    void ScrollWithoutFocus(Qt::Orientation orientation, ScrollRequest request);

    void SetFocusCell(GridCellId cell, Travel travel);
    void StartEdit(GridCellId cell);
    GridNotification Notification(int code, GridCellId cell);
    bool HandleNavigationKey(QKeyEvent* event);
    GridCellId PageTarget(bool down);
    GridCellId HeaderClickTarget(GridCellId cell) const;
    bool IsFixed(GridCellId cell) const;
    GridCellId FirstDataCell() const;
    bool IsNavigationKey(const QKeyEvent& event) const;
    // The row selection's share of a mouse press; true when the press selected rows.
    bool PressForRows(GridCellId cell, Qt::KeyboardModifiers modifiers);
    void DragRows(const QPoint& point);
    // The row selection's share of a key the grid handled; true when it consumed the key.
    bool KeyForRows(const QKeyEvent& event);
    void FollowFocusWithRows(GridCellId oldFocus, const QKeyEvent& event);
    void SetSelectedRows(std::set<int> rows);
    // Tells assistive technology about one data cell, or that the whole table changed; both
    // only while it listens.
    void NotifyAccessibleCell(QAccessible::Event type, GridCellId cell);
    void NotifyAccessibleTable(bool reshaped);
    static int WheelLines();

    void DrawCell(QPainter& painter, int row, int column, const QRect& rect, bool printing) const;
    void DrawFixedCellEdge(QPainter& painter, int row, int column, const QRect& inside,
                           bool printing) const;
    void DrawGridLines(QPainter& painter, const QRect& rect, bool top, bool left) const;
    void PrintRowAt(QPainter& painter, int row, int y, bool topLine) const;

    int m_ControlId = 0;
    std::vector<std::vector<Cell>> m_Cells;
    std::vector<int> m_RowHeights;
    std::vector<int> m_ColumnWidths;
    int m_FixedRows = 0;
    int m_FixedColumns = 0;
    GridCellId m_Focus;
    int m_Margin = 0;
    int m_DefaultRowHeight = 0;
    int m_DefaultColumnWidth = 0;
    bool m_Editable = true;
    bool m_Drawing = true;
    bool m_EditorCovers = false;
    QRect m_EditedRect;
    QString m_AccessibleRowName;

    bool m_RowSelectionEnabled = false;
    std::set<int> m_SelectedRows;
    int m_RowAnchor = -1;
    bool m_SelectingRows = false;

    bool m_Pressed = false;
    // Wheel delta not yet worth a whole step; touchpads send many small deltas.
    int m_WheelRemainder = 0;
    bool m_PressOnHeader = false;
    bool m_Dragging = false;
};
