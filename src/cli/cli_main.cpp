// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <array>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_read_write.h"
#include "cli/cli_station.h"
#include "cli/cli_streams.h"
#include "cli/cli_support.h"
#include "config/app_globals.h"
#include "link/serial_devices.h"
#include "platform/file_status.h"
#include "platform/output_path.h"

namespace {

// Tests point discovery at a fake tree; nothing else reads these variables.
DeviceRoots DeviceRootsFromEnvironment() {
    DeviceRoots roots;
    if (const char* sys = std::getenv("HALVEX_SYSFS_ROOT")) {
        roots.sysRoot = sys;
    }
    if (const char* dev = std::getenv("HALVEX_DEV_ROOT")) {
        roots.devRoot = dev;
    }
    return roots;
}

int RunPorts(const ParsedOptions& options) {
    return RunPortsCommand(options, DeviceRootsFromEnvironment());
}

int RunDoctor(const ParsedOptions& options) {
    return RunDoctorCommand(options, DeviceRootsFromEnvironment());
}

constexpr OptionDefinition kSettings{"--settings", "FILE",
                                     "the settings file instead of the default setting.ini",
                                     OptionKind::InputFile};
constexpr OptionDefinition kPort{"--port",          "N",   "the radio on port COMN (1-255)",
                                 OptionKind::Value, false, 1};
constexpr OptionDefinition kDevice{"--device",        "PATH", "the radio on this serial device",
                                   OptionKind::Value, false,  1};
constexpr OptionDefinition kBand{
    "--band", "K", "a new document on band line K of the settings", OptionKind::Value, false, 2};
constexpr OptionDefinition kInto{
    "--into", "BASE.pgm", "store the channels over a copy of BASE.pgm", OptionKind::InputFile,
    false,    2};

constexpr OptionDefinition Output(std::string_view valueName, bool required) {
    return {"-o", valueName, "the file to write", OptionKind::OutputFile, required};
}

constexpr OptionDefinition Input(std::string_view name) {
    return {name, "", "", OptionKind::InputFile, true};
}

constexpr std::array kNewOptions = {kSettings, kBand, Output("FILE.pgm", true)};
constexpr std::array kInfoOptions = {kSettings, Input("FILE.pgm"),
                                     OptionDefinition{"--csv", "", "the channels as CSV"}};
constexpr std::array kReadOptions = {kPort, kDevice, kSettings, Output("FILE.pgm", true)};
constexpr std::array kWriteOptions = {
    kPort,
    kDevice,
    kSettings,
    OptionDefinition{"--verify", "",
                     "read the radio back and compare (verifywrite=1 in the settings)",
                     OptionKind::Flag, false, 3},
    OptionDefinition{"--no-verify", "", "do not read back, whatever verifywrite says",
                     OptionKind::Flag, false, 3},
    OptionDefinition{"--force", "", "send a whole-sized file with another header"},
    Input("FILE.pgm")};
constexpr std::array kStationOptions = {
    Input("FILE.pgm"),
    OptionDefinition{"--device", "PATH", "a cable of the station (give one for each)",
                     OptionKind::Value, true, 0, true},
    OptionDefinition{"--count", "N", "stop after N radios in all", OptionKind::Value},
    OptionDefinition{"--log", "LOG.csv", "append one line per radio to LOG.csv",
                     OptionKind::OutputFile},
    OptionDefinition{"--no-verify", "", "do not read each radio back to compare", OptionKind::Flag,
                     false, 4},
    OptionDefinition{"--check-only", "", "read each radio and compare it with the file; write none",
                     OptionKind::Flag, false, 4},
    OptionDefinition{"--ptt-id-code-from", "CODE",
                     "give the radios PTT ID codes CODE, CODE+1, ... (decimal, same width)",
                     OptionKind::Value},
    OptionDefinition{"--auto", "", "find each next radio by the wake-up, every 2 s"},
    kSettings};
constexpr std::array kVerifyOptions = {
    Input("FILE.pgm"),
    OptionDefinition{"--device", "PATH", "the radio on this serial device", OptionKind::Value,
                     true},
    kSettings};
constexpr std::array kPortsOptions = {kSettings,
                                      OptionDefinition{"--json", "", "the list as JSON"}};
constexpr std::array kDoctorOptions = {kPort, kDevice, kSettings};
constexpr std::array kDiffOptions = {
    kSettings, Input("A.pgm"), OptionDefinition{"B.pgm", "", "", OptionKind::InputFile, false, 4},
    OptionDefinition{"--device", "PATH", "compare A.pgm with the radio on this serial device",
                     OptionKind::Value, false, 4}};
constexpr std::array kExportOptions = {kSettings, Input("FILE.pgm"), Output("OUT.csv", false)};
constexpr std::array kImportOptions = {
    Input("IN.csv"),
    kSettings,
    kBand,
    kInto,
    OptionDefinition{"--allow-empty", "", "write the file even when no channel could be imported"},
    Output("OUT.pgm", true)};
constexpr std::array kDumpOptions = {kSettings, Input("FILE.pgm"), Output("OUT.yaml", false)};
constexpr std::array kApplyOptions = {
    Input("IN.yaml"), kSettings,
    OptionDefinition{"--into", "BASE.pgm", "keep from BASE.pgm what the text does not carry",
                     OptionKind::InputFile},
    Output("OUT.pgm", true)};

const std::array kCommands = {
    CliCommand{"new", kNewOptions, RunNewCommand},
    CliCommand{"info", kInfoOptions, RunInfoCommand},
    CliCommand{"read", kReadOptions, RunReadCommand},
    CliCommand{"write", kWriteOptions, RunWriteCommand},
    CliCommand{"station", kStationOptions, RunStationCommand},
    CliCommand{"verify", kVerifyOptions, RunVerifyCommand},
    CliCommand{"ports", kPortsOptions, RunPorts},
    CliCommand{"doctor", kDoctorOptions, RunDoctor},
    CliCommand{"diff", kDiffOptions, RunDiffCommand, kExitDiffError},
    CliCommand{"export", kExportOptions, RunExportCommand},
    CliCommand{"import", kImportOptions, RunImportCommand},
    CliCommand{"dump", kDumpOptions, RunDumpCommand},
    CliCommand{"apply", kApplyOptions, RunApplyCommand},
};

constexpr const char* kRules =
    "Exit status: 0 done, 1 usage or file error, 2 no radio answered, 3 another radio model,\n"
    "4 read failed, 5 write failed, 130 cancelled (Ctrl-C, SIGTERM or SIGHUP).\n"
    "diff: 0 the files are the same, 1 they differ, 2 usage or file error; a file ending in\n"
    ".yaml or .yml is a text form, compared as apply would store it. With --device the radio\n"
    "is read and compared with A.pgm; it exits as read does when the radio cannot be read.\n"
    "apply writes nothing when the text has any error, and lists them as FILE:LINE:COL (the\n"
    "first 50); its channels: section is the whole channel table, also with --into.\n"
    "doctor wakes the radio and asks who it is, never writes to it, and exits 0 when an RQ870\n"
    "answers, 2 when none answers (missing device, no permission, port in use, silent radio,\n"
    "echoing cable on the direct setting), 3 for another model or a plain cable on the\n"
    "echoing setting.\n"
    "Each option is given at most once and never with an empty value. An output file may not\n"
    "be a file the command reads (input, --into, settings, also through a link), read-only,\n"
    "or in a folder that takes no new file; inputs must be regular files. - is standard input\n"
    "for an input file and standard output for the -o of export and dump.\n"
    "write --force sends a file with another header, never one of another size. write takes\n"
    "a text form too: stored as apply stores it, nothing is sent while it has any error.\n"
    "Output that cannot be written to standard output is an error (exit 1, diff 2).\n"
    "--settings defaults to setting.ini beside halvex-cli, else\n"
    "$XDG_CONFIG_HOME/halvex/setting.ini (~/.config/halvex/setting.ini).\n"
    "read and write without --port or --device use the port of the settings:\n"
    "device= when it is set, else com= (and searchcom=). write checks the radio after\n"
    "writing when verifywrite=1 is in the settings or --verify is given.\n"
    "station writes FILE.pgm to one radio after another on each --device, reads each back and\n"
    "compares; it exits 0 when every radio is ok, 5 when one failed, 2 when a cable went away,\n"
    "1 when the input ended before its radios (--auto needs no terminal) or the next PTT ID\n"
    "code would not fit 6 characters, 130 when stopped early. With --check-only it writes\n"
    "nothing and exits 6 when a radio differs from the file, 4 when one could not be read.\n"
    "Its log gets a header row when new and numbers radios on from its last line.\n"
    "verify reads the radio on --device, lists where it differs from FILE.pgm and writes\n"
    "nothing: 0 the same, 6 it differs, 2 no radio answered, 4 the read failed.\n";

void PrintUsage(std::ostream& stream) {
    stream << "usage:\n";
    std::vector<OptionDefinition> every;
    for (const CliCommand& command : kCommands) {
        stream << "  halvex-cli " << command.name << ' ' << UsageLine(command.options) << '\n';
        for (const OptionDefinition& option : command.options) {
            auto same = [&option](const OptionDefinition& known) {
                return known.name == option.name;
            };
            if (std::none_of(every.begin(), every.end(), same)) {
                every.push_back(option);
            }
        }
    }
    stream << "  halvex-cli COMMAND --help\n"
              "  halvex-cli --help\n"
              "  halvex-cli --version\n"
              "options:\n"
           << OptionHelp(every) << kRules;
}

// "-" is standard input for an input file, standard output for an -o that defaults to it, and
// refused by name elsewhere: never a file called "-".
bool TakeDashes(const CliCommand& command, ParsedOptions* options, std::string* error) {
    bool inputTaken = false;
    for (const OptionDefinition& definition : command.options) {
        const std::string name(definition.name);
        if (options->Value(name) != "-") {
            continue;
        }
        if (definition.kind == OptionKind::OutputFile) {
            if (name == "-o" && !definition.required) {
                options->Remove(name);
                continue;
            }
            *error = name + " -: this command writes a file, not standard output; give a file " +
                     "name (./- for a file called -)";
            return false;
        }
        if (definition.kind != OptionKind::InputFile) {
            continue;
        }
        if (definition.name == kSettings.name) {
            *error = "--settings -: the settings are read from a file, not standard input";
            return false;
        }
        // Without --auto the station reads the cable numbers from standard input.
        if (command.name == "station" && !options->Has("--auto")) {
            *error =
                "- as the file: standard input gives the cable numbers; name the file, "
                "or use --auto";
            return false;
        }
        if (inputTaken) {
            *error = "standard input (-) is given twice; it can be read only once";
            return false;
        }
        std::string path;
        if (!TakeStandardInput(&path, error)) {
            return false;
        }
        options->Set(name, path);
        inputTaken = true;
    }
    return true;
}

// Every file the command names is checked before any work: an input that is not a regular file
// could hang the command, and an output may not replace anything the command reads.
bool CheckCommandFiles(const CliCommand& command, const ParsedOptions& options,
                       std::string* error) {
    std::vector<std::string> inputs;
    for (const OptionDefinition& definition : command.options) {
        if (definition.kind == OptionKind::InputFile && options.Has(definition.name)) {
            inputs.push_back(options.Value(definition.name));
        }
    }
    for (const std::string& input : inputs) {
        if (!CheckInputFile(input, error)) {
            return false;
        }
    }
    if (!UseSettingsFile(options.Value(kSettings.name), error)) {
        return false;
    }
    inputs.push_back(g_SettingsPath);
    for (const OptionDefinition& definition : command.options) {
        if (definition.kind == OptionKind::OutputFile && options.Has(definition.name) &&
            !CheckOutputPath(options.Value(definition.name), inputs, error)) {
            return false;
        }
    }
    return true;
}

int RunCommand(const CliCommand& command, std::span<const std::string> arguments) {
    ParsedOptions options;
    std::string error;
    const std::string prefix = std::string(command.name) + ": ";
    if (!ParseOptions(command.options, arguments, &options, &error)) {
        ReportFailure(prefix + error);
        return command.failureExit;
    }
    if (options.Has("--help")) {
        std::cout << "usage: halvex-cli " << command.name << ' ' << UsageLine(command.options)
                  << '\n'
                  << OptionHelp(command.options);
        return kExitSuccess;
    }
    if (!TakeDashes(command, &options, &error) || !CheckCommandFiles(command, options, &error)) {
        ReportFailure(prefix + error);
        return command.failureExit;
    }
    return command.run(options);
}

int RunArguments(const std::vector<std::string>& arguments, int* failureExit) {
    if (arguments.empty()) {
        return ReportFailure("no command given; see halvex-cli --help");
    }
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        PrintUsage(std::cout);
        return kExitSuccess;
    }
    if (arguments[0] == "--version") {
        std::cout << "halvex-cli " HALVEX_VERSION "\n";
        return kExitSuccess;
    }
    for (const CliCommand& command : kCommands) {
        if (arguments[0] == command.name) {
            *failureExit = command.failureExit;
            return RunCommand(command, std::span<const std::string>(arguments).subspan(1));
        }
    }
    return ReportFailure("unknown command '" + arguments[0] + "'; see halvex-cli --help");
}

}  // namespace

int main(int argc, char** argv) {
    StartStandardOutput();
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    int failureExit = kExitFailure;
    int status = RunArguments(arguments, &failureExit);
    std::string error;
    // Output that did not arrive is a failure, whatever the command made of its work; diff's
    // "they differ" included, since its list is lost.
    if (!FinishStandardOutput(&error)) {
        ReportFailure(error);
        if (status == kExitSuccess || failureExit == kExitDiffError) {
            status = failureExit;
        }
    }
    return status;
}
