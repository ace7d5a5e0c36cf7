// SPDX-License-Identifier: GPL-3.0-or-later
// Template 155, the FM presets dialog. The hidden list is the grid's in-cell editor.
#pragma once

constexpr int kRadiogramTemplate = 155;
constexpr int kPresetListId = 1078;
constexpr int kPresetGridId = 1079;
constexpr int kFmFrequencyLabelId = 1090;
constexpr int kFmFrequencyListId = 1091;
