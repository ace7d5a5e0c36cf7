// The subcommands of halvex-cli. Each lives in its own file and is listed once in the table
// of cli_main.cpp; a subcommand only parses its arguments and calls core code.
#pragma once

#include <span>
#include <string>
#include <string_view>

struct CliCommand {
    std::string_view name;
    std::string_view usage;
    // Runs with the arguments after the subcommand's name; returns the exit status.
    int (*run)(std::span<const std::string> arguments);
};

int RunNewCommand(std::span<const std::string> arguments);
int RunInfoCommand(std::span<const std::string> arguments);
int RunDiffCommand(std::span<const std::string> arguments);
int RunExportCommand(std::span<const std::string> arguments);
int RunImportCommand(std::span<const std::string> arguments);

struct DeviceRoots;
// Discovery looks under roots: the real /sys and /dev, except in tests.
int RunPortsCommand(std::span<const std::string> arguments, const DeviceRoots& roots);
int RunDoctorCommand(std::span<const std::string> arguments, const DeviceRoots& roots);
