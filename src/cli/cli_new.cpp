// halvex-cli new: the document File > New gives, optionally reset to another band, stored
// the way File > Save stores it.
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "config/app_globals.h"

namespace {

struct NewArguments {
    std::string settingsPath;
    std::optional<int> band;
    std::string outputPath;
};

bool ParseNewArguments(std::span<const std::string> arguments, NewArguments* parsed,
                       std::string* error) {
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        bool takesValue = argument == "--settings" || argument == "--band" || argument == "-o";
        if (!takesValue) {
            *error = "new: unexpected argument '" + argument + "'";
            return false;
        }
        if (index + 1 == arguments.size()) {
            *error = "new: " + argument + " needs a value";
            return false;
        }
        const std::string& value = arguments[++index];
        if (argument == "--settings") {
            parsed->settingsPath = value;
        } else if (argument == "-o") {
            parsed->outputPath = value;
        } else {
            if (!ParseBand("new", value, &parsed->band, error)) {
                return false;
            }
        }
    }
    if (parsed->outputPath.empty()) {
        *error = "new: the output file is missing (-o FILE.pgm)";
        return false;
    }
    return true;
}

}  // namespace

int RunNewCommand(std::span<const std::string> arguments) {
    NewArguments parsed;
    std::string error;
    if (!ParseNewArguments(arguments, &parsed, &error) ||
        !UseSettingsFile(parsed.settingsPath, &error)) {
        return ReportFailure(error);
    }
    CliPrompts prompts(parsed.outputPath);
    CHalvexDoc document(prompts, StartupDocumentSettings());
    if (!NewDocumentOnBand("new", parsed.band, &document, &error)) {
        return ReportFailure(error);
    }
    if (!document.SaveWithConfirmation(&error)) {
        return ReportFailure(error);
    }
    return kExitSuccess;
}
