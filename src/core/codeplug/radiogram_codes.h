// SPDX-License-Identifier: GPL-3.0-or-later
// The FM broadcast receiver's frequency codes: code k is 65.0 + k/10 MHz, shown as "87M5".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr int kFmHighestCode = 430;  // 108.0 MHz
constexpr int kFmEmptyPreset = 431;
constexpr const char* kFmEmptyPresetText = "OFF";

// "65M0" .. "108M0" for codes 0-430.
std::string FmCodeText(int code);

// The code of an FM frequency written as the page shows it ("87M5", any case) or in MHz
// ("87.5", "87.50", "88"); nothing for a text that is neither or lies off the 0.1 MHz raster
// or outside 65.0-108.0 MHz.
std::optional<int> FmCodeFromText(std::string_view text);

// The receive-frequency list: the texts of codes 0-430, entry index = code.
std::vector<std::string> FmFrequencyList();

// The preset list: the receive-frequency list followed by "OFF" for an empty preset.
std::vector<std::string> FmPresetList();
