// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/print_report.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "codeplug/channel_columns.h"
#include "editors/function_report.h"
#include "grid/grid_ctrl.h"

namespace {

QFont PrintFont(int height) {
    QFont font(QString::fromLatin1(kReportFontFace));
    font.setPixelSize(height);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::Serif);
    return font;
}

// The weekday in the language Qt's texts follow, as the rest of the page is.
QString DateLine() {
    const QDateTime now = QDateTime::currentDateTime();
    const ReportTime time{now.date().year(), now.date().month(), now.date().day(),
                          now.time().hour(), now.time().minute()};
    return QString::fromStdString(
        ReportDateLine(time, QLocale().toString(now, QStringLiteral("dddd")).toStdString()));
}

std::vector<int> GridChannels(const CGridCtrl& grid) {
    return PrintedChannels(grid.GetRowCount() - 1, [&grid](int n) {
        return !grid.GetCellText(n, kColumnReceive).isEmpty();
    });
}

}  // namespace

int UsedChannelCount(const CGridCtrl& grid) {
    return static_cast<int>(GridChannels(grid).size());
}

CReportPrinter::CReportPrinter(const CGridCtrl& grid, const CHalvexDoc* functions)
    : m_Grid(grid), m_Functions(functions) {}

int CReportPrinter::OnPreparePrinting() {
    m_PageCount = PrintPageCount(UsedChannelCount(m_Grid));
    m_LeftMargin = kReportMarginCharacters;
    m_RightMargin = kReportMarginCharacters;
    return m_PageCount;
}

void CReportPrinter::OnBeginPrinting(QPainter& painter) {
    painter.save();
    painter.setFont(PrintFont(kReportMeasuringFontHeight));
    QFontMetrics metrics = painter.fontMetrics();
    m_AverageCharWidth = metrics.horizontalAdvance(QString::fromLatin1(kReportMeasuringText)) /
                         kReportMeasuringTextLength;
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
    painter.setFont(PrintFont(kReportFontHeight));
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
    if (m_Functions == nullptr) {
        return;
    }
    const QRect rect(0, 0, m_LogicalWidth - MarginWidth(), m_Grid.GetFixedRowHeight());
    for (const std::vector<std::string>& line : FunctionReportLines(m_Functions->Image())) {
        for (size_t column = 0; column < line.size() && column < kFunctionReportColumns.size();
             ++column) {
            painter.drawText(rect.translated(kFunctionReportColumns[column], 0),
                             Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(line[column]));
        }
        painter.translate(0, lineHeight);
    }
}

void CReportPrinter::PrintChannels(QPainter& painter, int page, int lineHeight) {
    m_Grid.PrintColumnHeadings(painter);
    // Each row moves down a line before it prints.
    painter.translate(0, FirstRowTop(page) - lineHeight);
    for (int row : ChannelsOfPage(GridChannels(m_Grid), page)) {
        painter.translate(0, lineHeight);
        m_Grid.PrintRow(painter, row);
    }
}

bool PrintReport(QPrinter& printer, const CGridCtrl& grid, const CHalvexDoc* functions,
                 int fromPage, int toPage) {
    CReportPrinter report(grid, functions);
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
