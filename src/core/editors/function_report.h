// SPDX-License-Identifier: GPL-3.0-or-later
// The functions section of the printed report: what the optional-functions page shows, as
// eight lines of up to three "caption : value" items, in the page's own words (its captions,
// its lists' entries), so paper and screen never disagree.
#pragma once

#include <string>
#include <vector>

#include "codeplug/radio_image.h"

constexpr int kFunctionReportLineCount = 8;

// The items of each line, left to right; a line has fewer than three where the page has
// nothing more to show.
std::vector<std::vector<std::string>> FunctionReportLines(const RadioImage& image);
