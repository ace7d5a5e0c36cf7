// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli read and write: one clone exchange with the radio, run by the same worker the
// desktop's transfer dialog starts, followed on the terminal.
#pragma once

#include "platform/command_options.h"

// Exit statuses beyond success (0) and usage or file errors (1).
constexpr int kExitNoRadio = 2;
constexpr int kExitWrongRadio = 3;
constexpr int kExitReadFailed = 4;
constexpr int kExitWriteFailed = 5;
// Ctrl-C, SIGTERM and SIGHUP alike.
constexpr int kExitCancelled = 130;

int RunReadCommand(const ParsedOptions& options);
int RunWriteCommand(const ParsedOptions& options);
