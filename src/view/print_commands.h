// File > Print, Print Preview and Print Setup. The three share one printer, so a page set up
// once is the page that prints and previews.
#pragma once

class CHalvexApp;
class QPrinter;

// Registers the handlers; the desktop program does it once before its frame is built.
bool RegisterPrintCommands();

// The printer the commands use; created with the application and owned by it.
QPrinter& ReportPrinter(CHalvexApp& app);
