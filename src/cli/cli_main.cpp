// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_streams.h"
#include "cli/cli_support.h"
#include "config/app_globals.h"
#include "platform/file_status.h"
#include "platform/output_path.h"

namespace {

using namespace cli_option;

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
    "A value follows its option (--port 1) or is attached to it (--port=1, -oFILE); -- ends\n"
    "the options. Each option is given at most once and never with an empty value. An output\n"
    "file may not be a file the command reads (input, --into, settings, also through a link),\n"
    "read-only, or in a folder that takes no new file; inputs must be regular files. - is\n"
    "standard input for an input file and standard output for the -o of export and dump.\n"
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
    for (const CliCommand& command : CliCommands()) {
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
            if (name == kOutput && !definition.required) {
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
        if (definition.name == kSettings) {
            *error = "--settings -: the settings are read from a file, not standard input";
            return false;
        }
        // Without --auto the station reads the cable numbers from standard input.
        if (command.name == "station" && !options->Has(kAuto)) {
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
    if (!UseSettingsFile(options.Value(kSettings), error)) {
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
    if (options.Has(cli_option::kHelp)) {
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
    for (const CliCommand& command : CliCommands()) {
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
