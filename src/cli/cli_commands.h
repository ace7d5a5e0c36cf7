// SPDX-License-Identifier: GPL-3.0-or-later
// The subcommands of halvex-cli. Each lives in its own file and is listed once, with its
// option table, in cli_tables.cpp; a subcommand only reads its parsed options and calls core code.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/command_options.h"

struct CliCommand {
    std::string_view name;
    // What it does, in a few words, as a shell's completion lists it.
    std::string_view summary;
    std::span<const OptionDefinition> options;
    // Runs once the options are parsed, every input is a regular file and every output may be
    // written; returns the exit status.
    int (*run)(const ParsedOptions& options);
    // The exit status of a usage or file error: diff keeps 1 for "the files differ".
    int failureExit = 1;
};

int RunNewCommand(const ParsedOptions& options);
int RunInfoCommand(const ParsedOptions& options);
int RunDiffCommand(const ParsedOptions& options);
int RunExportCommand(const ParsedOptions& options);
int RunImportCommand(const ParsedOptions& options);
int RunDumpCommand(const ParsedOptions& options);
int RunApplyCommand(const ParsedOptions& options);
int RunStationCommand(const ParsedOptions& options);

class CHalvexDoc;
// A whole .pgm file (what write would accept) into document; false with a message otherwise.
bool OpenWholePgmFile(const std::string& path, CHalvexDoc* document, std::string* error);
// A text-form file stored into document as apply stores it (over document when into); each
// error is printed as FILE:LINE:COL, and the message counts them.
bool OpenRadioText(const std::string& path, bool into, CHalvexDoc* document, std::string* error);

int RunPortsCommand(const ParsedOptions& options);
int RunDoctorCommand(const ParsedOptions& options);

// Every subcommand with its option table, in the order --help lists them.
std::span<const CliCommand> CliCommands();
