// SPDX-License-Identifier: GPL-3.0-or-later
// Template 160, the channel import dialog.
#pragma once

constexpr int kChannelImportTemplate = 160;
constexpr int kImportReplaceId = 1201;
constexpr int kImportFillEmptyId = 1202;
constexpr int kImportSummaryId = 1203;
constexpr int kImportReportId = 1204;
constexpr int kImportSaveReportId = 1205;
