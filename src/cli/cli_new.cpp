// halvex-cli new: the document File > New gives, optionally reset to another band, stored
// the way File > Save stores it.
#include <charconv>

#include "app/app_globals.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "codeplug/band_lines.h"

namespace {

struct NewArguments {
    std::string settingsPath;
    std::optional<int> band;
    std::string outputPath;
};

std::optional<int> ParseBand(const std::string& text) {
    int value = 0;
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || end != text.data() + text.size() || value < 0 ||
        value >= kBandLineCount) {
        return std::nullopt;
    }
    return value;
}

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
            parsed->band = ParseBand(value);
            if (!parsed->band) {
                *error = "new: --band takes a band line number from 0 to " +
                         std::to_string(kBandLineCount - 1) + ", not '" + value + "'";
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
    if (parsed.band) {
        std::optional<std::string> line =
            ReadBandLine(g_SettingsPath, *parsed.band, kBandLineMatchBufferSize);
        if (!line || !IsUsableBandLine(*line)) {
            return ReportFailure("new: " + g_SettingsPath + " has no usable band line data" +
                                 std::to_string(*parsed.band));
        }
    }
    CliPrompts prompts(parsed.outputPath);
    CHalvexDoc document(prompts);
    document.OnNewDocument(true);
    if (parsed.band) {
        document.ChangeFrequencyRange(*parsed.band);
    }
    if (!document.SaveWithConfirmation(&error)) {
        return ReportFailure(error);
    }
    return kExitSuccess;
}
