// SPDX-License-Identifier: GPL-3.0-or-later
// File > Export Configuration and File > Import Configuration: the whole radio as a YAML text
// file. An import shows what it would change first and, taken, is one undo step; a file with
// any error is refused whole, with every error it has.
#pragma once

struct FeatureContext;

void InstallConfigTextCommands(const FeatureContext& context);
