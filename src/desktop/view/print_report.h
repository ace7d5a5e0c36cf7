// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report of the document: a date line, the functions section on page 1 and the
// used rows of the channel table spread over up to five pages, drawn by the print operations
// of a channel grid built from the document (NewChannelGrid), under one mapping that keeps
// logical units square.
#pragma once

#include <QFont>
#include <QString>
#include <vector>

class CGridCtrl;
class QPainter;
class QPrinter;
class QWidget;

constexpr int kMaximumPrintPages = 5;

// Used channels: grid rows 1..128 whose receive cell has text.
int UsedChannelCount(const CGridCtrl& grid);
// The page that holds the last used channel.
int PrintPageCount(int usedChannels);
// The page of a used channel by its running number (1 for the first used row).
int PrintPageOfChannel(int runningNumber);

// The print steps of the view. Values measured at the beginning last until the end; every
// font lives only inside the step that made it, so nothing is left to release at the end.
class CReportPrinter {
public:
    // functionPage may be null: page 1 then has no functions section.
    CReportPrinter(const CGridCtrl& grid, QWidget* functionPage);

    // Counts the used channels; returns the page count.
    int OnPreparePrinting();
    // Measures on the painter's device and fixes the logical page.
    void OnBeginPrinting(QPainter& painter);
    void OnPrint(QPainter& painter, int page);

    int LogicalWidth() const { return m_LogicalWidth; }

private:
    void PrintFunctions(QPainter& painter, int lineHeight);
    void PrintChannels(QPainter& painter, int page, int lineHeight);
    int MarginWidth() const;

    const CGridCtrl& m_Grid;
    QWidget* m_FunctionPage;
    int m_PageCount = 1;
    int m_LeftMargin = 4;
    int m_RightMargin = 4;
    int m_AverageCharWidth = 0;
    int m_ResolutionX = 0;
    int m_ResolutionY = 0;
    int m_LogicalWidth = 0;
    int m_LogicalHeight = 0;
};

// Prints pages fromPage..toPage (1-based; 0 for toPage means the last page) on printer.
// False when the printer cannot be painted on.
bool PrintReport(QPrinter& printer, const CGridCtrl& grid, QWidget* functionPage, int fromPage = 1,
                 int toPage = 0);
