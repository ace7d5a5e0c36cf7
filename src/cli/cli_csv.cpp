// halvex-cli export and import: the used channels of a .pgm file as a CSV channel list, and a
// CSV channel list stored into a new document or over an existing file's channels.
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "config/app_globals.h"
#include "editors/channel_csv.h"
#include "platform/atomic_file.h"
#include "platform/csv_text.h"

namespace {

struct CsvArguments {
    std::string settingsPath;
    std::string inputPath;
    std::string outputPath;
    std::string basePath;
    std::optional<int> band;
    bool allowEmpty = false;
};

// The options a subcommand takes besides its input file, each with a value.
bool ParseCsvArguments(std::string_view command, std::span<const std::string> arguments,
                       std::initializer_list<std::string_view> options, CsvArguments* parsed,
                       std::string* error) {
    const std::string prefix = std::string(command) + ": ";
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument == "--allow-empty" && command == "import") {
            parsed->allowEmpty = true;
            continue;
        }
        const bool option = std::find(options.begin(), options.end(), argument) != options.end();
        if (!option) {
            if (argument.starts_with("-") || !parsed->inputPath.empty()) {
                *error = prefix + "unexpected argument '" + argument + "'";
                return false;
            }
            parsed->inputPath = argument;
            continue;
        }
        if (index + 1 == arguments.size()) {
            *error = prefix + argument + " needs a value";
            return false;
        }
        const std::string& value = arguments[++index];
        if (argument == "--settings") {
            parsed->settingsPath = value;
        } else if (argument == "-o") {
            parsed->outputPath = value;
        } else if (argument == "--into") {
            parsed->basePath = value;
        } else {
            if (!ParseBand(command, value, &parsed->band, error)) {
                return false;
            }
        }
    }
    if (parsed->inputPath.empty()) {
        *error = prefix + "the input file is missing";
        return false;
    }
    return true;
}

}  // namespace

int RunExportCommand(std::span<const std::string> arguments) {
    CsvArguments parsed;
    std::string error;
    if (!ParseCsvArguments("export", arguments, {"--settings", "-o"}, &parsed, &error) ||
        !UseSettingsFile(parsed.settingsPath, &error)) {
        return ReportFailure(error);
    }
    CliPrompts prompts;
    CHalvexDoc document(prompts, StartupDocumentSettings());
    if (!document.OnOpenDocument(parsed.inputPath, &error)) {
        return ReportFailure(error);
    }
    if (!HasChannelsToExport(document, ClampChannelCount(g_ChannelCount))) {
        return ReportFailure("export: " + EnglishWording(kNoChannelsToExport));
    }
    std::vector<std::string> notes;
    const std::string csv =
        ExportChannelCsv(document, ClampChannelCount(g_ChannelCount), EnglishWording, &notes);
    if (parsed.outputPath.empty()) {
        std::cout << csv;
    } else if (!ReplaceFileContents(parsed.outputPath, csv, &error)) {
        return ReportFailure(error);
    }
    for (const std::string& note : notes) {
        std::cerr << note << '\n';
    }
    return kExitSuccess;
}

int RunImportCommand(std::span<const std::string> arguments) {
    CsvArguments parsed;
    std::string error;
    if (!ParseCsvArguments("import", arguments, {"--settings", "--band", "--into", "-o"}, &parsed,
                           &error) ||
        !UseSettingsFile(parsed.settingsPath, &error)) {
        return ReportFailure(error);
    }
    if (parsed.outputPath.empty()) {
        return ReportFailure("import: the output file is missing (-o FILE.pgm)");
    }
    if (parsed.band && !parsed.basePath.empty()) {
        return ReportFailure("import: --band and --into exclude each other");
    }
    std::string text;
    if (!ReadCsvFile(parsed.inputPath, &text, &error)) {
        return ReportFailure("import: " + error);
    }
    CliPrompts prompts(parsed.outputPath);
    CHalvexDoc document(prompts, StartupDocumentSettings());
    if (!parsed.basePath.empty() ? !document.OnOpenDocument(parsed.basePath, &error)
                                 : !NewDocumentOnBand("import", parsed.band, &document, &error)) {
        return ReportFailure(error);
    }
    ChannelImportResult result;
    if (!ImportChannelCsv(text, document, ClampChannelCount(g_ChannelCount),
                          ChannelImportMode::Merge, EnglishWording, &result, &error)) {
        return ReportFailure("import: " + parsed.inputPath + ": " + error);
    }
    for (const std::string& loss : result.losses) {
        std::cerr << loss << '\n';
    }
    std::cerr << ImportSummary(result, EnglishWording) << '\n';
    if (result.importedRows == 0 && !parsed.allowEmpty) {
        return ReportFailure("import: " + EnglishWording(kNoChannelImported));
    }
    document.PrepareImage();
    if (!document.OnSaveDocument(parsed.outputPath, &error)) {
        return ReportFailure(error);
    }
    return kExitSuccess;
}
