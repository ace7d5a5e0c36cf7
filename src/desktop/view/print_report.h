// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report of the document as the core lays it out (editors/channel_report): a date
// line, the functions section on page 1 and the used rows of the channel table spread over up
// to five pages, drawn by the print operations of a channel grid built from the document
// (NewChannelGrid), under one mapping that keeps logical units square.
#pragma once

#include <QFont>
#include <QString>
#include <vector>

#include "editors/channel_report.h"

class CGridCtrl;
class CHalvexDoc;
class QPainter;
class QPrinter;

// Used channels: the grid's rows the core prints (PrintedChannels).
int UsedChannelCount(const CGridCtrl& grid);

// The print steps of the view. Values measured at the beginning last until the end; every
// font lives only inside the step that made it, so nothing is left to release at the end.
class CReportPrinter {
public:
    // functions may be null: page 1 then has no functions section.
    CReportPrinter(const CGridCtrl& grid, const CHalvexDoc* functions);

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
    const CHalvexDoc* m_Functions;
    int m_PageCount = 1;
    int m_LeftMargin = 4;
    int m_RightMargin = 4;
    int m_AverageCharWidth = 0;
    int m_ResolutionX = 0;
    int m_ResolutionY = 0;
    int m_LogicalWidth = 0;
    int m_LogicalHeight = 0;
};

// Prints pages fromPage..toPage (1-based; 0 for toPage means the last page) on printer, the
// functions section from the document functions when there is one. False when the printer
// cannot be painted on.
bool PrintReport(QPrinter& printer, const CGridCtrl& grid, const CHalvexDoc* functions,
                 int fromPage = 1, int toPage = 0);
