// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli export and import: the used channels of a .pgm file as a CSV channel list, and a
// CSV channel list stored into a new document or over an existing file's channels.
#include <iostream>
#include <optional>
#include <utility>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_support.h"
#include "codeplug/band_lines.h"
#include "config/app_globals.h"
#include "config/setting_definitions.h"
#include "editors/channel_csv.h"
#include "platform/atomic_file.h"
#include "platform/csv_text.h"
#include "platform/terminal_text.h"

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

namespace {

// The band line, other than the one the document is on, that would take the most rows, with
// how many: found by importing into a new document on each, so it follows the import's rules.
std::optional<std::pair<int, int>> BandLineTakingRows(std::string_view text, int current) {
    std::optional<std::pair<int, int>> best;
    for (int k = 0; k < kBandLineCount; ++k) {
        std::optional<std::string> line =
            settings::kBandLines.Read(g_SettingsPath, k, kBandLineMatchBufferSize);
        if (k == current || !line || !IsUsableBandLine(*line)) {
            continue;
        }
        CliPrompts prompts;
        CHalvexDoc trial(prompts, StartupDocumentSettings());
        trial.OnNewDocument(true);
        trial.ChangeFrequencyRange(k);
        ChannelImportResult result;
        std::string error;
        if (ImportChannelCsv(text, trial, ClampChannelCount(g_ChannelCount),
                             ChannelImportMode::Merge, EnglishWording, &result, &error) &&
            result.importedRows > (best ? best->second : 0)) {
            best = std::pair(k, result.importedRows);
        }
    }
    return best;
}

// "; band line 1 (400-480MHz) would take 2 rows: give --band 1", or nothing.
std::string BandLineHint(std::string_view text, const CHalvexDoc& document, bool into) {
    std::optional<std::pair<int, int>> taking = BandLineTakingRows(text, document.FindModelLine());
    if (!taking) {
        return "";
    }
    const auto [band, rows] = *taking;
    std::string hint = "; band line " + std::to_string(band);
    if (std::optional<std::string> name =
            settings::kRangeNames.Read(g_SettingsPath, band, kBandLineMatchBufferSize)) {
        hint += " (" + TerminalText(*name, kEchoedValueLimit) + ")";
    }
    hint += " would take " + std::to_string(rows) + (rows == 1 ? " row" : " rows") +
            ": give --band " + std::to_string(band);
    return into ? hint + " instead of --into" : hint;
}

}  // namespace

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
        return ReportFailure("import: " + EnglishWording(kNoChannelImported) +
                             BandLineHint(text, document, options.Has(cli_option::kInto)));
    }
    document.EditImage().PrepareImage();
    if (!document.OnSaveDocument(options.Value(cli_option::kOutput), &error)) {
        return ReportFailure(error);
    }
    return kExitSuccess;
}
