// halvex-cli diff: the channels and settings in which two .pgm files differ, in the same
// list the desktop's Compare with Radio shows.
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "codeplug/image_difference.h"
#include "config/app_globals.h"

namespace {

struct DiffArguments {
    std::string settingsPath;
    std::vector<std::string> files;
};

bool ParseDiffArguments(std::span<const std::string> arguments, DiffArguments* parsed,
                        std::string* error) {
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "--settings") {
            if (index + 1 == arguments.size()) {
                *error = "diff: --settings needs a value";
                return false;
            }
            parsed->settingsPath = arguments[++index];
        } else if (argument.starts_with("-") || parsed->files.size() == 2) {
            *error = "diff: unexpected argument '" + argument + "'";
            return false;
        } else {
            parsed->files.push_back(argument);
        }
    }
    if (parsed->files.size() != 2) {
        *error = "diff: give two .pgm files (halvex-cli diff A.pgm B.pgm)";
        return false;
    }
    return true;
}

}  // namespace

int RunDiffCommand(std::span<const std::string> arguments) {
    DiffArguments parsed;
    std::string error;
    if (!ParseDiffArguments(arguments, &parsed, &error) ||
        !UseSettingsFile(parsed.settingsPath, &error)) {
        return ReportFailure(error);
    }
    CliPrompts prompts;
    CHalvexDoc first(prompts, StartupDocumentSettings());
    CHalvexDoc second(prompts, StartupDocumentSettings());
    if (!first.OnOpenDocument(parsed.files[0], &error) ||
        !second.OnOpenDocument(parsed.files[1], &error)) {
        return ReportFailure(error);
    }
    std::vector<ImageDifference> differences =
        DiffImages(first, second, ClampChannelCount(g_ChannelCount));
    for (const ImageDifference& difference : differences) {
        std::cout << DifferenceLine(difference) << '\n';
    }
    if (differences.empty()) {
        std::cout << "The files hold the same channels and settings.\n";
    }
    return kExitSuccess;
}
