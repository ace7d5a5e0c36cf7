// SPDX-License-Identifier: GPL-3.0-or-later
// File > Import Channels and File > Export Channels: the desktop's way to the CSV channel
// lists. An import changes the document only after the user has read its report and pressed
// OK, and then as one change.
#pragma once

struct FeatureContext;

void InstallChannelCsvCommands(const FeatureContext& context);
