// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli read and write: one clone exchange with the radio, run by the same worker the
// desktop's transfer dialog starts, followed on the terminal.
#pragma once

#include <array>
#include <string>

#include "codeplug/radio_image.h"
#include "platform/command_options.h"

// Exit statuses beyond success (0) and usage or file errors (1).
constexpr int kExitNoRadio = 2;
constexpr int kExitWrongRadio = 3;
constexpr int kExitReadFailed = 4;
constexpr int kExitWriteFailed = 5;
// Ctrl-C, SIGTERM and SIGHUP alike.
constexpr int kExitCancelled = 130;

int RunReadCommand(const ParsedOptions& options);
// Reads the radio on device over image, as Compare with Radio does: what the radio does not
// send stays as image had it. The exit status read would give, after saying why it failed.
int ReadRadioOver(const std::string& device, std::array<uint8_t, kImageSize>* image);
int RunWriteCommand(const ParsedOptions& options);
