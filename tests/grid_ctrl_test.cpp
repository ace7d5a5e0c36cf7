// SPDX-License-Identifier: GPL-3.0-or-later
// The grid driven by real key, mouse and wheel events, shaped like the channel table.
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <vector>

#include "grid/grid_ctrl.h"
#include "resources/ids/channel_page_ids.h"

namespace {

constexpr int kRows = 129;
constexpr int kColumns = 13;
constexpr int kLastRow = kRows - 1;
constexpr int kLastColumn = kColumns - 1;
constexpr int kHeaderHeight = 28;
constexpr int kRowHeight = 21;
const int kColumnWidths[kColumns] = {40, 75, 65, 75, 65, 55, 50, 55, 65, 65, 55, 70, 50};

struct Harness {
    QWidget window;
    CGridCtrl* grid = nullptr;
    std::vector<GridNotification> beginEdits;
};

std::unique_ptr<Harness> MakeGrid() {
    auto harness = std::make_unique<Harness>();
    CGridCtrl* grid = new CGridCtrl(&harness->window);
    harness->grid = grid;
    grid->SetControlId(kChannelGridId);
    grid->SetRows(kRows);
    grid->SetColumns(kColumns);
    grid->SetFixedRows(1);
    grid->SetFixedColumns(1);
    for (int column = 0; column < kColumns; ++column) {
        grid->SetColumnWidth(column, kColumnWidths[column]);
    }
    grid->SetRowHeight(0, kHeaderHeight);
    for (int row = 1; row < kRows; ++row) {
        grid->SetRowHeight(row, kRowHeight);
        grid->SetCellText(row, 0, QString::number(row));
        for (int column = 1; column < kColumns; ++column) {
            grid->SetCellText(row, column, QStringLiteral("%1.%2").arg(row).arg(column));
            grid->SetCellFormat(row, column, Qt::AlignCenter | Qt::TextSingleLine);
        }
    }
    grid->setGeometry(0, 0, 420, 300);
    harness->window.resize(420, 300);
    Harness* raw = harness.get();
    QObject::connect(grid, &CGridCtrl::BeginEdit,
                     [raw](const GridNotification& n) { raw->beginEdits.push_back(n); });
    harness->window.show();
    harness->window.activateWindow();
    grid->setFocus();
    return harness;
}

QPoint CellCentre(CGridCtrl* grid, int row, int column) {
    QRect rect;
    return grid->CellRect(row, column, &rect) ? rect.center() : QPoint(-1, -1);
}

bool ClickCell(CGridCtrl* grid, int row, int column) {
    grid->MakeVisible(row, column);
    const QPoint centre = CellCentre(grid, row, column);
    if (centre.x() < 0) {
        return false;
    }
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    return true;
}

int TopVisibleRow(CGridCtrl* grid) {
    return grid->CellFromPoint(QPoint(60, kHeaderHeight + 1)).row;
}

void SendWheel(CGridCtrl* grid, int delta) {
    const QPoint at = CellCentre(grid, TopVisibleRow(grid), 2);
    QWheelEvent wheel(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &wheel);
}

void SendMouse(CGridCtrl* grid, QEvent::Type type, const QPoint& at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, grid->viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &event);
}

QColor PixelInside(const QImage& image, CGridCtrl* grid, int row, int column) {
    QRect rect;
    grid->CellRect(row, column, &rect);
    return image.pixelColor(rect.topLeft() + QPoint(3, 3));
}

}  // namespace

class GridCtrlTest : public QObject {
    Q_OBJECT

private slots:
    void keysMoveFocusWithinTheDataCells_data();
    void keysMoveFocusWithinTheDataCells();
    void pageKeysMoveByTheRowsScrolled();
    void focusMarkFollowsTheFocusCell();
    void keyboardEntersAndLeavesTheTable();
    void clicksFocusAndBeginEdit_data();
    void clicksFocusAndBeginEdit();
    void enterBeginsEditWithoutMoving();
    void dragMovesFocusOverDataCells();
    void wheelScrollsByTheDesktopLineCount_data();
    void wheelScrollsByTheDesktopLineCount();
    void scrollingKeepsFixedRowsAndColumnsInPlace();
    void tableShapeAndRefusedIndices();
    void paintsCellColoursFocusFrameAndSparesTheEditor();
    void printsRowsWithoutFocusMarks();
    void rowHeadersSelectWholeRows();
    void rowSelectionIsOffUnlessAsked();
};

void GridCtrlTest::keysMoveFocusWithinTheDataCells_data() {
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("startColumn");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("tab moves right") << 5 << 3 << int(Qt::Key_Tab) << none << 5 << 4;
    QTest::newRow("tab wraps to the next row")
        << 5 << kLastColumn << int(Qt::Key_Tab) << none << 6 << 1;
    QTest::newRow("tab stops at the last cell")
        << kLastRow << kLastColumn << int(Qt::Key_Tab) << none << kLastRow << kLastColumn;
    QTest::newRow("shift+tab moves left") << 5 << 3 << int(Qt::Key_Backtab) << shift << 5 << 2;
    QTest::newRow("shift+tab wraps to the previous row")
        << 5 << 1 << int(Qt::Key_Backtab) << shift << 4 << kLastColumn;
    QTest::newRow("shift+tab as tab with shift")
        << 5 << 1 << int(Qt::Key_Tab) << shift << 4 << kLastColumn;
    QTest::newRow("shift+tab stops at the first cell")
        << 1 << 1 << int(Qt::Key_Backtab) << shift << 1 << 1;
    QTest::newRow("left stops at the header") << 5 << 1 << int(Qt::Key_Left) << none << 5 << 1;
    QTest::newRow("up stops at the header") << 1 << 4 << int(Qt::Key_Up) << none << 1 << 4;
    QTest::newRow("down stops at the last row")
        << kLastRow << 4 << int(Qt::Key_Down) << none << kLastRow << 4;
    QTest::newRow("right stops at the last column")
        << 7 << kLastColumn << int(Qt::Key_Right) << none << 7 << kLastColumn;
    QTest::newRow("down") << 7 << 4 << int(Qt::Key_Down) << none << 8 << 4;
    QTest::newRow("home keeps the column") << 60 << 6 << int(Qt::Key_Home) << none << 1 << 6;
    QTest::newRow("end keeps the column") << 60 << 6 << int(Qt::Key_End) << none << kLastRow << 6;
}

void GridCtrlTest::keysMoveFocusWithinTheDataCells() {
    QFETCH(int, startRow);
    QFETCH(int, startColumn);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, row);
    QFETCH(int, column);
    auto harness = MakeGrid();
    CGridCtrl* grid = harness->grid;
    QVERIFY(ClickCell(grid, startRow, startColumn));
    QCOMPARE(grid->GetFocusCell(), (GridCellId{startRow, startColumn}));
    QTest::keyClick(grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(grid->GetFocusCell(), (GridCellId{row, column}));
    QVERIFY(grid->GetCellState(row, column) & kCellFocused);
    if (row != startRow || column != startColumn) {
        QVERIFY(!(grid->GetCellState(startRow, startColumn) & kCellFocused));
    }
    QRect rect;
    QVERIFY2(grid->CellRect(row, column, &rect), "the new focus cell is scrolled into view");
    QVERIFY(grid->viewport()->rect().contains(rect));
}

void GridCtrlTest::pageKeysMoveByTheRowsScrolled() {
    auto harness = MakeGrid();
    CGridCtrl* grid = harness->grid;
    QVERIFY(ClickCell(grid, 2, 3));
    const int topBefore = TopVisibleRow(grid);
    QTest::keyClick(grid, Qt::Key_PageDown);
    const int moved = TopVisibleRow(grid) - topBefore;
    QVERIFY(moved > 1);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{2 + moved, 3}));

    QTest::keyClick(grid, Qt::Key_PageUp);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{2, 3}));
    QTest::keyClick(grid, Qt::Key_PageUp);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{1, 3}));

    QTest::keyClick(grid, Qt::Key_End);
    QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_PageDown);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{kLastRow, 3}));
}

void GridCtrlTest::focusMarkFollowsTheFocusCell() {
    auto harness = MakeGrid();
    CGridCtrl* grid = harness->grid;
    QVERIFY(ClickCell(grid, 3, 2));
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(grid->GetCellState(3, 2) & kCellFocused, quint32{0});
    QVERIFY(grid->GetCellState(3, 3) & kCellFocused);

    grid->ClearFocus();
    QCOMPARE(grid->GetFocusCell(), GridCellId{});
    QCOMPARE(grid->GetCellState(3, 3), quint32{0});
    // Without a mouse the first arrow key gives the table its focus cell, and goes no further.
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{1, 1}));
}

// Without a mouse: Tab into the table gives it a focus cell, Tab past its last cell or Shift+Tab
// before its first goes on to the neighbouring controls, and Ctrl+Tab is left to the window.
void GridCtrlTest::keyboardEntersAndLeavesTheTable() {
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* grid = new CGridCtrl(&window);
    auto* after = new QLineEdit(&window);
    grid->SetRows(3);
    grid->SetColumns(3);
    grid->SetFixedRows(1);
    grid->SetFixedColumns(1);
    grid->setGeometry(0, 30, 300, 200);
    window.resize(300, 300);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    QVERIFY(grid->hasFocus());
    QCOMPARE(grid->GetFocusCell(), (GridCellId{1, 1}));

    QTest::keyClick(grid, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{1, 1}));
    QVERIFY(grid->hasFocus());

    QTest::keyClick(grid, Qt::Key_End);
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{2, 2}));
    QTest::keyClick(grid, Qt::Key_Tab);
    QVERIFY2(after->hasFocus(), "Tab past the last cell leaves the table");
    QCOMPARE(grid->GetFocusCell(), (GridCellId{2, 2}));

    QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Home);
    QTest::keyClick(grid, Qt::Key_Left);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{1, 1}));
    QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY2(before->hasFocus(), "Shift+Tab before the first cell leaves the table");
}

void GridCtrlTest::clicksFocusAndBeginEdit_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<int>("focusRow");
    QTest::addColumn<int>("focusColumn");
    QTest::addColumn<bool>("beginsEdit");
    QTest::newRow("data cell") << 4 << 2 << false << true << 4 << 2 << true;
    QTest::newRow("read-only cell") << 4 << 2 << true << true << 4 << 2 << false;
    QTest::newRow("grid not editable") << 4 << 2 << false << false << 4 << 2 << false;
    QTest::newRow("column header") << 0 << 5 << false << true << 1 << 5 << false;
    QTest::newRow("row header") << 6 << 0 << false << true << 6 << 1 << false;
    QTest::newRow("corner") << 0 << 0 << false << true << -1 << -1 << false;
}

void GridCtrlTest::clicksFocusAndBeginEdit() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, readOnly);
    QFETCH(bool, editable);
    QFETCH(int, focusRow);
    QFETCH(int, focusColumn);
    QFETCH(bool, beginsEdit);
    auto harness = MakeGrid();
    CGridCtrl* grid = harness->grid;
    grid->SetEditable(editable);
    if (readOnly) {
        grid->SetCellState(row, column, kCellReadOnly);
    }
    QVERIFY(ClickCell(grid, row, column));
    QCOMPARE(grid->GetFocusCell(), (GridCellId{focusRow, focusColumn}));
    QCOMPARE(harness->beginEdits.size(), size_t{beginsEdit ? 1u : 0u});
    if (!beginsEdit) {
        return;
    }
    const GridNotification& edit = harness->beginEdits.front();
    QCOMPARE(edit.code, kGridBeginEdit);
    QCOMPARE(edit.controlId, kChannelGridId);
    QCOMPARE(edit.sender, grid);
    QCOMPARE(edit.item.row, row);
    QCOMPARE(edit.item.column, column);
    QCOMPARE(edit.item.text, QStringLiteral("4.2"));
    QRect client;
    QVERIFY(grid->CellRect(row, column, &client));
    const QPoint origin = grid->viewport()->mapToGlobal(QPoint(0, 0));
    QCOMPARE(edit.rectangle, client.translated(origin));
    QVERIFY(edit.rectangle.contains(grid->viewport()->mapToGlobal(client.center())));
}

void GridCtrlTest::enterBeginsEditWithoutMoving() {
    auto harness = MakeGrid();
    CGridCtrl* grid = harness->grid;
    QVERIFY(ClickCell(grid, 2, 7));
    harness->beginEdits.clear();
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(harness->beginEdits.size(), size_t{1});
    QCOMPARE(harness->beginEdits[0].item.column, 7);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{2, 7}));
}

void GridCtrlTest::dragMovesFocusOverDataCells() {
    auto harness = MakeGrid();
    CGridCtrl* grid = harness->grid;
    SendMouse(grid, QEvent::MouseButtonPress, CellCentre(grid, 2, 2), Qt::LeftButton);
    SendMouse(grid, QEvent::MouseMove, CellCentre(grid, 4, 3), Qt::LeftButton);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{4, 3}));
    SendMouse(grid, QEvent::MouseMove, CellCentre(grid, 0, 5), Qt::LeftButton);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{4, 3}));
    SendMouse(grid, QEvent::MouseMove, CellCentre(grid, 5, 5), Qt::LeftButton);
    SendMouse(grid, QEvent::MouseButtonRelease, CellCentre(grid, 5, 5), Qt::NoButton);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{5, 5}));
    QCOMPARE(harness->beginEdits.size(), size_t{1});
    QCOMPARE(harness->beginEdits[0].item.row, 5);

    // A press on the focus cell itself does not drag.
    SendMouse(grid, QEvent::MouseButtonPress, CellCentre(grid, 5, 5), Qt::LeftButton);
    SendMouse(grid, QEvent::MouseMove, CellCentre(grid, 7, 6), Qt::LeftButton);
    SendMouse(grid, QEvent::MouseButtonRelease, CellCentre(grid, 7, 6), Qt::NoButton);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{5, 5}));
}

void GridCtrlTest::wheelScrollsByTheDesktopLineCount_data() {
    QTest::addColumn<int>("wheelLines");
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<int>("rowsDown");
    QTest::newRow("three lines a notch") << 3 << QList<int>{-120} << 3;
    QTest::newRow("setting missing") << 0 << QList<int>{-120} << 3;
    QTest::newRow("one line") << 1 << QList<int>{-120} << 1;
    QTest::newRow("two notches") << 3 << QList<int>{-240} << 6;
    QTest::newRow("half a notch of three lines") << 3 << QList<int>{-60} << 1;
    QTest::newRow("towards the top") << 3 << QList<int>{120} << -3;
    // Touchpads send many deltas smaller than a notch; together they scroll as the notch.
    QTest::newRow("touchpad, one line a notch") << 1 << QList<int>{-30, -30, -30, -30} << 1;
    QTest::newRow("touchpad, three lines a notch") << 3 << QList<int>(12, -10) << 3;
    QTest::newRow("touchpad, less than a line") << 1 << QList<int>{-50, -50} << 0;
}

void GridCtrlTest::wheelScrollsByTheDesktopLineCount() {
    QFETCH(int, wheelLines);
    QFETCH(QList<int>, deltas);
    QFETCH(int, rowsDown);
    const int savedLines = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(wheelLines);
    auto harness = MakeGrid();
    CGridCtrl* grid = harness->grid;
    QVERIFY(ClickCell(grid, 1, 1));
    grid->MakeVisible(40, 1);
    const int topBefore = TopVisibleRow(grid);
    for (int delta : deltas) {
        SendWheel(grid, delta);
    }
    QApplication::setWheelScrollLines(savedLines);
    QCOMPARE(TopVisibleRow(grid) - topBefore, rowsDown);
    QCOMPARE(grid->GetFocusCell(), (GridCellId{1, 1}));
}

void GridCtrlTest::scrollingKeepsFixedRowsAndColumnsInPlace() {
    auto harness = MakeGrid();
    CGridCtrl* grid = harness->grid;
    const QImage before = grid->viewport()->grab().toImage();
    for (int step = 0; step < 5; ++step) {
        grid->Scroll(Qt::Vertical, CGridCtrl::ScrollRequest::LineDown);
    }
    QCOMPARE(TopVisibleRow(grid), 6);
    QRect header;
    QVERIFY(grid->CellRect(0, 3, &header));
    QCOMPARE(header.top(), 0);
    QRect hidden;
    QVERIFY(!grid->CellRect(2, 3, &hidden));
    const QImage scrolled = grid->viewport()->grab().toImage();
    QCOMPARE(scrolled.copy(0, 0, scrolled.width(), kHeaderHeight),
             before.copy(0, 0, before.width(), kHeaderHeight));
    QVERIFY(scrolled.copy(0, kHeaderHeight, 300, 100) != before.copy(0, kHeaderHeight, 300, 100));

    grid->Scroll(Qt::Horizontal, CGridCtrl::ScrollRequest::LineDown);
    grid->Scroll(Qt::Horizontal, CGridCtrl::ScrollRequest::LineDown);
    QCOMPARE(grid->CellFromPoint(QPoint(kColumnWidths[0] + 1, 5)).column, 3);
    const QImage sideways = grid->viewport()->grab().toImage();
    QCOMPARE(sideways.copy(0, 0, kColumnWidths[0], sideways.height()),
             scrolled.copy(0, 0, kColumnWidths[0], scrolled.height()));
    grid->Scroll(Qt::Vertical, CGridCtrl::ScrollRequest::LineUp);
    QCOMPARE(TopVisibleRow(grid), 5);
}

void GridCtrlTest::tableShapeAndRefusedIndices() {
    CGridCtrl grid;
    QVERIFY(grid.SetRows(3));
    QVERIFY(grid.SetColumns(3));
    QVERIFY(grid.SetCellFormat(2, 2, Qt::AlignRight));
    QVERIFY(grid.SetRows(5));
    QCOMPARE(grid.GetCellFormat(4, 2), int(Qt::AlignRight));
    QCOMPARE(grid.GetRowHeight(4), grid.GetDefaultRowHeight());
    QVERIFY(!grid.SetCellFormat(5, 2, Qt::AlignLeft));
    QCOMPARE(grid.GetCellFormat(5, 2), 0);
    QVERIFY(!grid.SetCellText(-1, 0, QStringLiteral("x")));
    QCOMPARE(grid.GetCellText(0, 3), QString());
    QVERIFY(!grid.SetRowHeight(5, 10));
    QVERIFY(!grid.SetColumnWidth(0, -1));
    QCOMPARE(grid.GetColumnWidth(3), -1);
    QVERIFY(!grid.SetRows(-1));

    QVERIFY(grid.SetFixedRows(7));
    QCOMPARE(grid.GetRowCount(), 7);
    QVERIFY(grid.SetRows(2));
    QCOMPARE(grid.GetFixedRowCount(), 2);
    QCOMPARE(grid.GetTotalHeight(), 2 * grid.GetDefaultRowHeight());
    QCOMPARE(grid.GetFixedRowHeight(), grid.GetTotalHeight());
}

void GridCtrlTest::paintsCellColoursFocusFrameAndSparesTheEditor() {
    auto harness = MakeGrid();
    CGridCtrl* grid = harness->grid;
    const QPalette& palette = grid->palette();
    // Locked as the channel table locks a cell: read-only with the dialog's face colour.
    grid->SetCellState(3, 4, kCellReadOnly);
    grid->SetCellBackColour(3, 4, palette.color(QPalette::Button));
    QVERIFY(palette.color(QPalette::Button) != palette.color(QPalette::Base));
    QVERIFY(ClickCell(grid, 5, 2));

    QImage image = grid->viewport()->grab().toImage();
    QCOMPARE(PixelInside(image, grid, 3, 4), palette.color(QPalette::Button));
    QCOMPARE(PixelInside(image, grid, 3, 3), palette.color(QPalette::Base));
    QRect focus;
    QVERIFY(grid->CellRect(5, 2, &focus));
    QCOMPARE(image.pixelColor(focus.topLeft()), QColor(Qt::black));
    QCOMPARE(image.pixelColor(focus.topLeft() + QPoint(3, 3)), palette.color(QPalette::Base));
    QRect other;
    QVERIFY(grid->CellRect(5, 3, &other));
    QCOMPARE(image.pixelColor(other.topLeft()), palette.color(QPalette::Base));
    QCOMPARE(image.pixelColor(other.right() + 1, other.center().y()).rgb(),
             palette.color(QPalette::Dark).rgb());

    // The header of the focus row is raised; its neighbour has the flat edge.
    QRect focusRowHeader;
    QRect otherRowHeader;
    QVERIFY(grid->CellRect(5, 0, &focusRowHeader));
    QVERIFY(grid->CellRect(6, 0, &otherRowHeader));
    const QPoint lowerLeft(2, focusRowHeader.height() - 2);
    QVERIFY(image.pixelColor(focusRowHeader.topLeft() + lowerLeft) !=
            image.pixelColor(otherRowHeader.topLeft() + lowerLeft));

    // While the page's editor covers the cell, the grid leaves the cell alone.
    grid->SetEditorCovers(true);
    grid->SetCellBackColour(5, 2, Qt::red);
    grid->RedrawCell(5, 2);
    image = grid->viewport()->grab().toImage();
    QVERIFY(PixelInside(image, grid, 5, 2) != QColor(Qt::red));
    grid->SetEditorCovers(false);
    image = grid->viewport()->grab().toImage();
    QCOMPARE(PixelInside(image, grid, 5, 2), QColor(Qt::red));
}

void GridCtrlTest::printsRowsWithoutFocusMarks() {
    auto harness = MakeGrid();
    CGridCtrl* grid = harness->grid;
    QVERIFY(ClickCell(grid, 3, 1));
    grid->SetCellBackColour(3, 5, Qt::red);
    QImage page(grid->GetTotalWidth(), kHeaderHeight + kRowHeight, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        grid->PrintColumnHeadings(painter);
        painter.translate(0, kHeaderHeight);
        QVERIFY(grid->PrintRow(painter, 3));
        QVERIFY(!grid->PrintRow(painter, kRows));
    }
    const QRgb line = grid->palette().color(QPalette::Dark).rgb();
    const int column5 = 40 + 75 + 65 + 75 + 65;
    QCOMPARE(page.pixelColor(column5 + 10, kHeaderHeight + 5), QColor(Qt::red));
    QCOMPARE(page.pixelColor(column5 + 10, 0).rgb(), line);
    QCOMPARE(page.pixelColor(0, kHeaderHeight + 5).rgb(), line);
    QCOMPARE(page.pixelColor(column5 - 1, kHeaderHeight + 5).rgb(), line);
    QCOMPARE(page.pixelColor(column5 + 10, kHeaderHeight + kRowHeight - 1).rgb(), line);
    const QPoint focusCorner(kColumnWidths[0], kHeaderHeight);
    QCOMPARE(page.pixelColor(focusCorner), grid->palette().color(QPalette::Base));
}

namespace {

void ClickHeader(CGridCtrl* grid, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, CellCentre(grid, row, 0));
}

}  // namespace

void GridCtrlTest::rowHeadersSelectWholeRows() {
    auto harness = MakeGrid();
    CGridCtrl* grid = harness->grid;
    grid->EnableRowSelection(true);

    ClickHeader(grid, 3);
    ClickHeader(grid, 5, Qt::ShiftModifier);
    QCOMPARE(grid->GetSelectedRows(), (std::vector<int>{3, 4, 5}));
    ClickHeader(grid, 4, Qt::ControlModifier);
    ClickHeader(grid, 8, Qt::ControlModifier);
    QCOMPARE(grid->GetSelectedRows(), (std::vector<int>{3, 5, 8}));
    // Shift stretches from the row clicked last, as in a file manager.
    ClickHeader(grid, 6, Qt::ShiftModifier);
    QCOMPARE(grid->GetSelectedRows(), (std::vector<int>{6, 7, 8}));
    QVERIFY(harness->beginEdits.empty());
    QCOMPARE(grid->GetFocusCell(), (GridCellId{6, 1}));

    // Dragging down the headers, and over the data cells beside them, takes every row passed.
    SendMouse(grid, QEvent::MouseButtonPress, CellCentre(grid, 2, 0), Qt::LeftButton);
    SendMouse(grid, QEvent::MouseMove, CellCentre(grid, 4, 3), Qt::LeftButton);
    SendMouse(grid, QEvent::MouseMove, CellCentre(grid, 5, 0), Qt::LeftButton);
    SendMouse(grid, QEvent::MouseButtonRelease, CellCentre(grid, 5, 0), Qt::NoButton);
    QCOMPARE(grid->GetSelectedRows(), (std::vector<int>{2, 3, 4, 5}));
    QCOMPARE(grid->GetFocusCell(), (GridCellId{2, 1}));
    QVERIFY(harness->beginEdits.empty());

    const QImage image = grid->viewport()->grab().toImage();
    const QPalette& palette = grid->palette();
    QCOMPARE(PixelInside(image, grid, 4, 3), palette.color(QPalette::Highlight));
    QCOMPARE(PixelInside(image, grid, 6, 3), palette.color(QPalette::Base));

    // Shift with Down stretches the rows; a plain move leaves them.
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(grid->GetSelectedRows(), (std::vector<int>{2, 3}));
    QTest::keyClick(grid, Qt::Key_Right);
    QVERIFY(grid->GetSelectedRows().empty());
    QTest::keyClick(grid, Qt::Key_Space, Qt::ShiftModifier);
    QCOMPARE(grid->GetSelectedRows(), std::vector<int>{3});

    // A click on a data cell edits it and drops the rows.
    QVERIFY(ClickCell(grid, 9, 4));
    QVERIFY(grid->GetSelectedRows().empty());
    QCOMPARE(harness->beginEdits.size(), size_t{1});

    grid->SelectRows({0, 7, 500, 2});
    QCOMPARE(grid->GetSelectedRows(), (std::vector<int>{2, 7}));
    grid->SetRows(5);
    QCOMPARE(grid->GetSelectedRows(), std::vector<int>{2});
}

void GridCtrlTest::rowSelectionIsOffUnlessAsked() {
    auto harness = MakeGrid();
    CGridCtrl* grid = harness->grid;
    ClickHeader(grid, 3);
    QTest::keyClick(grid, Qt::Key_Space, Qt::ShiftModifier);
    QVERIFY(grid->GetSelectedRows().empty());
    QCOMPARE(grid->GetFocusCell(), (GridCellId{3, 1}));
}

QTEST_MAIN(GridCtrlTest)
#include "grid_ctrl_test.moc"
