// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu's whole-channel commands on the channel table: cut, copy and paste through
// the clipboard, insert, delete, move and clear. Each change is one named edit; each command
// is greyed while it does not apply.
#pragma once

struct FeatureContext;

// The clipboard's own format: the channels exactly, between windows of this program.
inline constexpr const char* kChannelsMimeType = "application/x-halvex-channels";

void InstallChannelRowCommands(const FeatureContext& context);
