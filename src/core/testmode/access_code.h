// SPDX-License-Identifier: GPL-3.0-or-later
// The access code that opens test mode.
#pragma once

#include <optional>
#include <string_view>

#include "testmode/mode_message.h"

inline constexpr std::string_view kTestModeAccessCode = "RO264";

// Nothing when the entered text is the access code byte for byte (letter case counts);
// otherwise the message to show while the password dialog stays open.
std::optional<TestModeMessage> CheckAccessCode(std::string_view entered);
