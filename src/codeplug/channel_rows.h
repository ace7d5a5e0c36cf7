// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of one channel row as the channel table shows them, in the words of the
// command line (English, "Off" for no tone), and their CSV form.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/document.h"

constexpr size_t kChannelColumnCount = 13;
using ChannelRow = std::array<std::string, kChannelColumnCount>;

// Channel,Receive,Decode,Transmit,Encode,Power,BCL,Bandwidth,ScanAdd,Reverse,PttId,Compander,Name
const ChannelRow& ChannelRowHeader();

// The row of used channel n; toneTexts are the tone list's texts by tone index.
ChannelRow ChannelRowTexts(const CHalvexDoc& document, int n,
                           const std::vector<std::string>& toneTexts);

// The fields joined by commas, without the line end.
std::string CsvLine(const ChannelRow& row);
