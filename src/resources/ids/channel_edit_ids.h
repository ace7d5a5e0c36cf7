// SPDX-License-Identifier: GPL-3.0-or-later
// Templates 170-172: Set for Selected Channels, Sort Channels and Fill Frequencies.
#pragma once

constexpr int kSetColumnTemplate = 170;
constexpr int kSetColumnLabelId = 1401;
constexpr int kSetColumnListId = 1402;
constexpr int kSetValueLabelId = 1403;
constexpr int kSetValueListId = 1404;
constexpr int kSetOffsetEditId = 1405;
constexpr int kSetOffsetHintId = 1406;

constexpr int kSortTemplate = 171;
constexpr int kSortKeyLabelId = 1411;
constexpr int kSortKeyListId = 1412;
constexpr int kSortAscendingId = 1413;
constexpr int kSortDescendingId = 1414;
constexpr int kSortSelectionId = 1415;
constexpr int kSortAllId = 1416;

constexpr int kFillTemplate = 172;
constexpr int kFillFirstLabelId = 1421;
constexpr int kFillFirstEditId = 1422;
constexpr int kFillStepLabelId = 1423;
constexpr int kFillStepEditId = 1424;
constexpr int kFillShiftLabelId = 1425;
constexpr int kFillShiftEditId = 1426;
