// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu's commands over many channels (Set for Selected Channels, Sort Channels, Fill
// Frequencies) and the channel table's find bar keys. Each change is one named edit; channels
// left as they were are listed to the user.
#pragma once

struct FeatureContext;

void InstallChannelBulkCommands(const FeatureContext& context);
