// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli export and import: the used channels of a .pgm file as a CSV channel list, and a
// CSV channel list stored into a new document or over an existing file's channels.
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_support.h"
#include "config/app_globals.h"
#include "editors/channel_csv.h"
#include "platform/atomic_file.h"
#include "platform/csv_text.h"

int RunExportCommand(const ParsedOptions& options) {
    std::string error;
    CliPrompts prompts;
    CHalvexDoc document(prompts, StartupDocumentSettings());
    if (!OpenWholePgmFile(options.Value(cli_option::kPgmFile), &document, &error)) {
        return ReportFailure(error);
    }
    NoteChannelsBeyondCount(document, ClampChannelCount(g_ChannelCount), "exported");
    if (!HasChannelsToExport(document, ClampChannelCount(g_ChannelCount))) {
        return ReportFailure("export: " + EnglishWording(kNoChannelsToExport));
    }
    std::vector<std::string> notes;
    const std::string csv =
        ExportChannelCsv(document, ClampChannelCount(g_ChannelCount), EnglishWording, &notes);
    if (!options.Has(cli_option::kOutput)) {
        std::cout << csv;
    } else if (!ReplaceFileContents(options.Value(cli_option::kOutput), csv, &error)) {
        return ReportFailure(error);
    }
    for (const std::string& note : notes) {
        PrintNote(note);
    }
    return kExitSuccess;
}

int RunImportCommand(const ParsedOptions& options) {
    std::string error;
    std::optional<int> band;
    if (options.Has(cli_option::kBand) &&
        !ParseBand("import", options.Value(cli_option::kBand), &band, &error)) {
        return ReportFailure(error);
    }
    const std::string& inputPath = options.Value(cli_option::kCsvInput);
    std::string text;
    if (!ReadCsvFile(inputPath, &text, &error)) {
        return ReportFailure("import: " + error);
    }
    CliPrompts prompts(options.Value(cli_option::kOutput));
    CHalvexDoc document(prompts, StartupDocumentSettings());
    if (options.Has(cli_option::kInto)
            ? !OpenWholePgmFile(options.Value(cli_option::kInto), &document, &error)
            : !NewDocumentOnBand("import", band, &document, &error)) {
        return ReportFailure(error);
    }
    ChannelImportResult result;
    if (!ImportChannelCsv(text, document, ClampChannelCount(g_ChannelCount),
                          ChannelImportMode::Merge, EnglishWording, &result, &error)) {
        return ReportFailure("import: " + inputPath + ": " + error);
    }
    for (const std::string& loss : result.losses) {
        PrintNote(loss);
    }
    PrintNote(ImportSummary(result, EnglishWording));
    if (result.importedRows == 0 && !options.Has(cli_option::kAllowEmpty)) {
        return ReportFailure("import: " + EnglishWording(kNoChannelImported));
    }
    document.PrepareImage();
    if (!document.OnSaveDocument(options.Value(cli_option::kOutput), &error)) {
        return ReportFailure(error);
    }
    return kExitSuccess;
}
