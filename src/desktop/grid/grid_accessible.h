// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told about the grid: a table whose rows are the data rows and whose
// column headers are the fixed header row. The first column stays a column of the table (the
// channel or preset number) and heads its row. Cell texts are exactly what the grid shows.
#pragma once

// Gives every grid its table for assistive technology. The application start-up calls it
// once, before the first grid is shown; without it the grid reads as an unnamed filler.
void InstallGridAccessibility();
