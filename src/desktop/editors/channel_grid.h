// SPDX-License-Identifier: GPL-3.0-or-later
// The channel table on a grid, drawn from the column table and the image: its layout, its
// headers and each row's texts and lock colours. The channel page shows it live; the printout
// builds its own from the document, so it prints what the image holds.
#pragma once

#include <QString>
#include <array>
#include <memory>
#include <string>

#include "codeplug/channel_columns.h"
#include "editors/channel_row_state.h"

class CGridCtrl;
class CHalvexDoc;

// The words of the table in the language of the program.
struct ChannelTableTexts {
    ChannelTexts cells;
    std::array<QString, kChannelColumnCount> headers;
    bool englishHeaders = false;  // the English headers wrap where the others do not
};
// The cells' words alone, which need no settings.
ChannelTexts LoadChannelCellTexts();
ChannelTableTexts LoadChannelTableTexts(const std::string& settingsPath);

// A header row over channelCount rows of channels, with the column widths and cell formats.
void LayOutChannelGrid(CGridCtrl& grid, int channelCount);
// The headers and every channel row of a laid-out grid.
void FillChannelGrid(CGridCtrl& grid, const CHalvexDoc& doc, const ChannelTableTexts& texts,
                     const ChannelTableSettings& settings);
// Row n's texts and lock colours; nothing but the number for an unused channel.
void ShowChannelRow(CGridCtrl& grid, const CHalvexDoc& doc, int n, const ChannelTableTexts& texts,
                    const ChannelTableSettings& settings);

// The whole table as the page shows it, in no window.
std::unique_ptr<CGridCtrl> NewChannelGrid(const CHalvexDoc& doc, const std::string& settingsPath);
