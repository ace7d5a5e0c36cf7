// SPDX-License-Identifier: GPL-3.0-or-later
// Template 150, the channel table page. The hidden edits and lists are the grid's in-cell
// editors.
#pragma once

constexpr int kChannelPageTemplate = 150;
constexpr int kChannelGridId = 1017;
constexpr int kModelLabelId = 1018;
constexpr int kModelNameId = 1019;
constexpr int kRangeLabelId = 1020;
constexpr int kRangeSelectorId = 1021;
constexpr int kFrequencyEditorId = 1022;
constexpr int kChoiceListId = 1023;
constexpr int kNameEditorId = 1024;
constexpr int kDecodeListId = 1076;
constexpr int kEncodeListId = 1077;
