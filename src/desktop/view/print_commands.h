// SPDX-License-Identifier: GPL-3.0-or-later
// File > Print, Print Preview and Print Setup. The three share one printer, so a page set up
// once is the page that prints and previews.
#pragma once

struct FeatureContext;
class QPrinter;

void InstallPrintCommands(const FeatureContext& context);

// The printer the commands use; made at its first use and owned by the main window.
QPrinter& ReportPrinter(const FeatureContext& context);
