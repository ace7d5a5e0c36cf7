// SPDX-License-Identifier: GPL-3.0-or-later
// Template 136, the differences between the document and the radio.
#pragma once

constexpr int kCompareTemplate = 136;
constexpr int kCompareListId = 1161;
constexpr int kCompareSummaryId = 1162;
