// SPDX-License-Identifier: GPL-3.0-or-later
// Template 165, what File > Import Configuration would change.
#pragma once

constexpr int kConfigImportTemplate = 165;
constexpr int kConfigImportSummaryId = 1251;
constexpr int kConfigImportListId = 1252;
