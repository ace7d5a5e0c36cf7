// SPDX-License-Identifier: GPL-3.0-or-later
// File > Print, Print Preview and Print Setup. The three share one printer, so a page set up
// once is the page that prints and previews.
#pragma once

class CHalvexApp;
class CMainFrame;
class QPrinter;

void InstallPrintCommands(CHalvexApp& app, CMainFrame& frame);

// The printer the commands use; created with the application and owned by it.
QPrinter& ReportPrinter(CHalvexApp& app);
