// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_grid.h"

#include <QApplication>
#include <QPalette>

#include "codeplug/document.h"
#include "common/step_names.h"
#include "config/language.h"
#include "config/setting_definitions.h"
#include "editors/channel_report.h"
#include "grid/grid_ctrl.h"

namespace {

constexpr int kOneLineFormat = Qt::AlignCenter | Qt::TextSingleLine;
constexpr int kWrappedFormat = Qt::AlignCenter | Qt::TextWordWrap;

}  // namespace

ChannelTexts LoadChannelCellTexts() {
    return WordedChannelTexts([](const ColumnText& text) { return LoadLangString(text.key); });
}

ChannelTableTexts LoadChannelTableTexts(const std::string& settingsPath) {
    ChannelTableTexts texts;
    texts.cells = LoadChannelCellTexts();
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        texts.headers[column.id] = LoadChannelHeader(column.id);
    }
    texts.englishHeaders = EnglishHeadings(settings::kLanguage.Read(settingsPath));
    return texts;
}

void LayOutChannelGrid(CGridCtrl& grid, int channelCount) {
    const int rows = channelCount + 1;
    grid.SetRows(rows);
    grid.SetColumns(kChannelColumnCount);
    grid.SetFixedRows(1);
    grid.SetFixedColumns(1);
    grid.ClearFocus();
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        grid.SetColumnWidth(column.id, column.width);
    }
    grid.SetRowHeight(0, kChannelHeaderHeight);
    for (int row = 1; row < rows; ++row) {
        grid.SetRowHeight(row, kChannelRowHeight);
        for (int column = 0; column < kChannelColumnCount; ++column) {
            grid.SetCellFormat(row, column, kOneLineFormat);
        }
    }
}

void FillChannelGrid(CGridCtrl& grid, const CHalvexDoc& doc, const ChannelTableTexts& texts,
                     const ChannelTableSettings& settings) {
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        grid.SetCellText(0, column.id, texts.headers[column.id]);
        grid.SetCellFormat(
            0, column.id,
            HeadingWraps(column, texts.englishHeaders) ? kWrappedFormat : kOneLineFormat);
    }
    for (int n = 1; n < grid.GetRowCount(); ++n) {
        grid.SetCellText(n, kColumnNumber, QString::number(n));
        ShowChannelRow(grid, doc, n, texts, settings);
    }
}

void ShowChannelRow(CGridCtrl& grid, const CHalvexDoc& doc, int n, const ChannelTableTexts& texts,
                    const ChannelTableSettings& settings) {
    const ChannelRowState state = ChannelRowLocks(doc.Image(), n, settings);
    const QPalette palette = QApplication::palette();
    const QColor greyText = palette.color(QPalette::Disabled, QPalette::WindowText);
    const QColor buttonFace = palette.color(QPalette::Button);
    const ChannelRow cells =
        doc.Image().IsChannelEmpty(n) ? ChannelRow{} : ChannelRowTexts(doc, n, texts.cells);
    for (int column = kColumnReceive; column < kChannelColumnCount; ++column) {
        const ChannelCellState& cell = state[column];
        const quint32 flags = grid.GetCellState(n, column);
        grid.SetCellState(n, column, cell.locked ? flags | kCellReadOnly : flags & ~kCellReadOnly);
        grid.SetCellTextColour(n, column, cell.locked ? greyText : QColor());
        grid.SetCellBackColour(n, column, cell.shaded ? buttonFace : QColor());
        grid.SetCellText(n, column, QString::fromStdString(cells[column]));
    }
}

std::unique_ptr<CGridCtrl> NewChannelGrid(const CHalvexDoc& doc, const std::string& settingsPath) {
    auto grid = std::make_unique<CGridCtrl>();
    LayOutChannelGrid(*grid, doc.GetChannelCount());
    FillChannelGrid(*grid, doc, LoadChannelTableTexts(settingsPath),
                    ReadChannelTableSettings(settingsPath, doc.GetChannelCount()));
    return grid;
}
