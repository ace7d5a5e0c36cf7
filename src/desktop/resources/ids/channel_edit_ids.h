// SPDX-License-Identifier: GPL-3.0-or-later
// Templates 170-172: Set for Selected Channels, Sort Channels and Fill Frequencies.
#pragma once

constexpr int kSetColumnTemplate = 170;
constexpr int kSetColumnLabelId = 1501;
constexpr int kSetColumnListId = 1502;
constexpr int kSetValueLabelId = 1503;
constexpr int kSetValueListId = 1504;
constexpr int kSetOffsetEditId = 1505;
constexpr int kSetOffsetHintId = 1506;

constexpr int kSortTemplate = 171;
constexpr int kSortKeyLabelId = 1511;
constexpr int kSortKeyListId = 1512;
constexpr int kSortAscendingId = 1513;
constexpr int kSortDescendingId = 1514;
constexpr int kSortSelectionId = 1515;
constexpr int kSortAllId = 1516;

constexpr int kFillTemplate = 172;
constexpr int kFillFirstLabelId = 1521;
constexpr int kFillFirstEditId = 1522;
constexpr int kFillStepLabelId = 1523;
constexpr int kFillStepEditId = 1524;
constexpr int kFillShiftLabelId = 1525;
constexpr int kFillShiftEditId = 1526;
