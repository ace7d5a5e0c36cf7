// SPDX-License-Identifier: GPL-3.0-or-later
// Times a channel-table rebuild of the grid (every cell's text, state and colour) and a full
// repaint of what it shows, in milliseconds per operation measured in this one run.
// With a file name argument it also saves the painted grid as a PNG to look at.
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "grid/grid_ctrl.h"

namespace {

constexpr int kRows = 129;
constexpr int kColumns = 13;
constexpr double kBudgetMs = 10.0;
const int kColumnWidths[kColumns] = {40, 75, 65, 75, 65, 55, 50, 55, 65, 65, 55, 70, 50};

void Shape(CGridCtrl& grid) {
    grid.SetRows(kRows);
    grid.SetColumns(kColumns);
    grid.SetFixedRows(1);
    grid.SetFixedColumns(1);
    for (int column = 0; column < kColumns; ++column) {
        grid.SetColumnWidth(column, kColumnWidths[column]);
        grid.SetCellText(
            0, column,
            column == 0 ? QStringLiteral("CH") : QStringLiteral("Column %1").arg(column));
        grid.SetCellFormat(0, column, Qt::AlignCenter | Qt::TextWordWrap);
    }
    grid.SetRowHeight(0, 28);
    for (int row = 1; row < kRows; ++row) {
        grid.SetRowHeight(row, 21);
    }
}

// Texts shaped like the channel table's: frequencies, tones, choices and a name.
QString SampleText(int row, int column, int pass) {
    switch (column) {
        case 1:
            return QStringLiteral("%1.%2")
                .arg(136 + row % 38)
                .arg((row * 700 + pass * 25) % 100000, 5, 10, QLatin1Char('0'));
        case 3:
            return QStringLiteral("%1.%2")
                .arg(136 + row % 38)
                .arg(row * 700 % 100000, 5, 10, QLatin1Char('0'));
        case 2:
        case 4:
            return row % 3 == 0 ? QStringLiteral("Off") : QStringLiteral("D%1N").arg(row % 700);
        case 5:
            return row % 2 ? QStringLiteral("High") : QStringLiteral("Low");
        case 7:
            return row % 4 ? QStringLiteral("Wide") : QStringLiteral("Narrow");
        case 12:
            return QStringLiteral("CH%1").arg(row, 3, 10, QLatin1Char('0'));
        default:
            return (row + column) % 2 ? QStringLiteral("On") : QStringLiteral("Off");
    }
}

// As the channel page rebuilds: drawing off, every cell rewritten, drawing on.
void Fill(CGridCtrl& grid, int pass) {
    const QColor grey = grid.palette().color(QPalette::Disabled, QPalette::Text);
    grid.SetDrawing(false, false);
    for (int row = 1; row < kRows; ++row) {
        grid.SetCellText(row, 0, QString::number(row));
        grid.SetCellFormat(row, 0, Qt::AlignCenter | Qt::TextSingleLine);
        const bool empty = (row + pass) % 9 == 0;
        for (int column = 1; column < kColumns; ++column) {
            const bool locked = empty && column > 1;
            grid.SetCellText(row, column, empty ? QString() : SampleText(row, column, pass));
            grid.SetCellFormat(row, column, Qt::AlignCenter | Qt::TextSingleLine);
            grid.SetCellState(row, column, locked ? kCellReadOnly : 0);
            grid.SetCellTextColour(row, column, locked ? grey : QColor());
        }
        grid.RedrawRow(row);
    }
    grid.SetDrawing(true, true);
}

// The fastest of several batches, so that other programs on the machine count least.
template <typename Operation>
double MillisecondsPerRun(Operation operation) {
    constexpr int kBatches = 10;
    constexpr int kRunsPerBatch = 20;
    double best = 0;
    for (int batch = 0; batch < kBatches; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        for (int run = 0; run < kRunsPerBatch; ++run) {
            operation(batch * kRunsPerBatch + run);
        }
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - start;
        const double perRun = elapsed.count() / kRunsPerBatch;
        best = batch == 0 ? perRun : std::min(best, perRun);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    CGridCtrl grid;
    Shape(grid);
    grid.resize(808, 398);
    grid.show();

    const double fillMs = MillisecondsPerRun([&grid](int run) { Fill(grid, run); });
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    const double paintMs =
        MillisecondsPerRun([&grid, &image](int) { grid.viewport()->render(&image); });

    std::printf("grid %dx%d, best of 10 batches of 20 runs\n", kRows, kColumns);
    std::printf("fill all cells:   %7.3f ms  (%.2f of the %.0f ms budget)\n", fillMs,
                fillMs / kBudgetMs, kBudgetMs);
    std::printf("repaint visible:  %7.3f ms  (%.2f of the %.0f ms budget)\n", paintMs,
                paintMs / kBudgetMs, kBudgetMs);
    std::printf("repaint / fill:   %7.2f\n", paintMs / fillMs);
    if (argc > 1 && !image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
