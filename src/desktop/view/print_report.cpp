// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/print_report.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <array>

#include "codeplug/channel_columns.h"
#include "grid/grid_ctrl.h"
#include "view/print_function_items.h"

namespace {

constexpr int kLastPrintedRow = 128;
// The last running number on each page; page 5 takes the rest.
constexpr std::array<int, kMaximumPrintPages - 1> kLastChannelOfPage = {20, 50, 80, 110};
// x of the three text columns of the functions section.
constexpr std::array<int, 3> kFunctionColumns = {0, 200, 400};
// Pages 1-3 draw their first row this much closer under the headings.
constexpr int kHeadingOverlap = 20;
constexpr int kLastTightPage = 3;
constexpr const char* kFontFace = "Times New Roman";
constexpr int kMeasuringFontHeight = 9;
constexpr int kPrintFontHeight = 11;
constexpr const char* kMeasuringText = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kMeasuringTextLength = 52;

QFont PrintFont(int height) {
    QFont font(QString::fromLatin1(kFontFace));
    font.setPixelSize(height);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::Serif);
    return font;
}

// The weekday in the language Qt's texts follow, as the rest of the page is.
QString DateLine() {
    return QLocale().toString(QDateTime::currentDateTime(),
                              QStringLiteral("yyyy-MM-dd dddd HH:mm"));
}

}  // namespace

int UsedChannelCount(const CGridCtrl& grid) {
    int lastRow = std::min(kLastPrintedRow, grid.GetRowCount() - 1);
    int used = 0;
    for (int row = 1; row <= lastRow; ++row) {
        if (!grid.GetCellText(row, kColumnReceive).isEmpty()) {
            ++used;
        }
    }
    return used;
}

int PrintPageOfChannel(int runningNumber) {
    int page = 1;
    for (int last : kLastChannelOfPage) {
        if (runningNumber <= last) {
            return page;
        }
        ++page;
    }
    return page;
}

int PrintPageCount(int usedChannels) {
    return PrintPageOfChannel(std::max(usedChannels, 1));
}

CReportPrinter::CReportPrinter(const CGridCtrl& grid, QWidget* functionPage)
    : m_Grid(grid), m_FunctionPage(functionPage) {}

int CReportPrinter::OnPreparePrinting() {
    m_PageCount = PrintPageCount(UsedChannelCount(m_Grid));
    m_LeftMargin = 4;
    m_RightMargin = 4;
    return m_PageCount;
}

void CReportPrinter::OnBeginPrinting(QPainter& painter) {
    painter.save();
    painter.setFont(PrintFont(kMeasuringFontHeight));
    QFontMetrics metrics = painter.fontMetrics();
    m_AverageCharWidth =
        metrics.horizontalAdvance(QString::fromLatin1(kMeasuringText)) / kMeasuringTextLength;
    painter.restore();
    m_ResolutionX = painter.device()->width();
    m_ResolutionY = painter.device()->height();
    m_LogicalWidth = m_Grid.GetTotalWidth() + MarginWidth();
    // Square logical units: a row looks on paper as it does on screen.
    m_LogicalHeight = static_cast<int>(
        (static_cast<long long>(m_LogicalWidth) * m_ResolutionY + m_ResolutionX / 2) /
        std::max(1, m_ResolutionX));
}

int CReportPrinter::MarginWidth() const {
    return (m_LeftMargin + m_RightMargin) * m_AverageCharWidth;
}

void CReportPrinter::OnPrint(QPainter& painter, int page) {
    // Everything set here (font, mapping, drawing position) ends with this page.
    painter.save();
    painter.setFont(PrintFont(kPrintFontHeight));
    painter.setPen(Qt::black);
    painter.setWindow(-(m_LeftMargin * m_AverageCharWidth), 0, m_LogicalWidth, m_LogicalHeight);
    painter.setViewport(0, 0, m_ResolutionX, m_ResolutionY);
    const int headingHeight = m_Grid.GetFixedRowHeight();
    const QRect dateRect(0, 0, m_LogicalWidth - MarginWidth(), headingHeight);
    painter.drawText(dateRect, Qt::AlignLeft | Qt::AlignTop, DateLine());
    painter.translate(0, headingHeight);
    int lineHeight = m_Grid.GetRowHeight(1);
    if (lineHeight < 0) {
        lineHeight = m_Grid.GetDefaultRowHeight();
    }
    if (page == 1) {
        PrintFunctions(painter, lineHeight);
    }
    PrintChannels(painter, page, lineHeight);
    painter.restore();
}

void CReportPrinter::PrintFunctions(QPainter& painter, int lineHeight) {
    if (m_FunctionPage == nullptr) {
        return;
    }
    const QRect rect(0, 0, m_LogicalWidth - MarginWidth(), m_Grid.GetFixedRowHeight());
    for (const std::vector<QString>& line : FunctionReportLines(*m_FunctionPage)) {
        for (size_t column = 0; column < line.size() && column < kFunctionColumns.size();
             ++column) {
            painter.drawText(rect.translated(kFunctionColumns[column], 0),
                             Qt::AlignLeft | Qt::AlignTop, line[column]);
        }
        painter.translate(0, lineHeight);
    }
}

void CReportPrinter::PrintChannels(QPainter& painter, int page, int lineHeight) {
    m_Grid.PrintColumnHeadings(painter);
    const int headingHeight = m_Grid.GetFixedRowHeight();
    painter.translate(0, page <= kLastTightPage ? headingHeight - kHeadingOverlap : headingHeight);
    int lastRow = std::min(kLastPrintedRow, m_Grid.GetRowCount() - 1);
    int runningNumber = 0;
    for (int row = 1; row <= lastRow; ++row) {
        if (m_Grid.GetCellText(row, kColumnReceive).isEmpty()) {
            continue;
        }
        ++runningNumber;
        if (PrintPageOfChannel(runningNumber) == page) {
            painter.translate(0, lineHeight);
            m_Grid.PrintRow(painter, row);
        }
    }
}

bool PrintReport(QPrinter& printer, const CGridCtrl& grid, QWidget* functionPage, int fromPage,
                 int toPage) {
    CReportPrinter report(grid, functionPage);
    int pageCount = report.OnPreparePrinting();
    fromPage = std::clamp(fromPage, 1, pageCount);
    toPage = toPage <= 0 ? pageCount : std::clamp(toPage, fromPage, pageCount);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    report.OnBeginPrinting(painter);
    for (int page = fromPage; page <= toPage; ++page) {
        if (page != fromPage) {
            printer.newPage();
        }
        report.OnPrint(painter, page);
    }
    return painter.end();
}
