// SPDX-License-Identifier: GPL-3.0-or-later
// The shell completion of halvex-cli, written from its option tables so that it offers what
// the parser takes: the commands, each command's options, and for a value or an operand the
// files of its endings (and folders) or the serial devices.
#pragma once

#include <span>
#include <string>

#include "cli/cli_commands.h"

// The script bash-completion loads for halvex-cli.
std::string BashCompletion(std::span<const CliCommand> commands);
// The function zsh autoloads as _halvex-cli.
std::string ZshCompletion(std::span<const CliCommand> commands);
// What each command completes, a line per word: "COMMAND\tWORD\tflag", "...\tvalue",
// "...\tdevice" or "...\tfiles\tENDINGS"; an operand's word is its place, 1 for the first.
std::string CompletionTable(std::span<const CliCommand> commands);
