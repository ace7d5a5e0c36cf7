// SPDX-License-Identifier: GPL-3.0-or-later
// The Read, Write, Compare with Radio, Communication port and cable type commands of the main
// frame.
#pragma once

struct FeatureContext;

void InstallLinkCommands(const FeatureContext& context);
