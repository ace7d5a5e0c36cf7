// SPDX-License-Identifier: GPL-3.0-or-later
// The functions section of the printed report: what the optional-functions page shows, as
// eight lines of up to three "caption : value" items, read from the page's own controls so
// paper and screen never disagree.
#pragma once

#include <QString>
#include <vector>

class QWidget;

constexpr int kFunctionReportLineCount = 8;

// The items of each line, left to right; a line has fewer than three where the page has
// nothing more to show.
std::vector<std::vector<QString>> FunctionReportLines(QWidget& functionPage);
