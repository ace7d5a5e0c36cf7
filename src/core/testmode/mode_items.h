// SPDX-License-Identifier: GPL-3.0-or-later
// The test items as the test dialog lists them, and the frame that adjusts one live.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codeplug/radio_image.h"

// Items 0..31 sit in the two adjust banks and are the only ones the radio adjusts live.
constexpr int kAdjustableItemCount = 32;
constexpr size_t kAdjustFrameSize = 20;
using AdjustFrame = std::array<uint8_t, kAdjustFrameSize>;

// The names in section "TestData" of the current language file, at most kTestItemCount:
// an item past the last one would address bytes after the test region.
std::vector<std::string> LoadTestItemNames(const std::string& languagePath);

// The name immediately followed by the value as "-(%d)".
std::string TestItemLine(const std::string& name, int value);

// One line per name with the image's current value of that item.
std::vector<std::string> TestItemLines(const std::vector<std::string>& names,
                                       const RadioImage& image);

// The frame that sets item to value while the radio is in test mode; nothing for an item
// outside the adjust banks.
std::optional<AdjustFrame> BuildAdjustFrame(int item, int value);
