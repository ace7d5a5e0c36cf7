// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli new: the document File > New gives, optionally reset to another band, stored
// the way File > Save stores it.
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_support.h"
#include "config/app_globals.h"

int RunNewCommand(const ParsedOptions& options) {
    std::string error;
    std::optional<int> band;
    if (options.Has(cli_option::kBand) &&
        !ParseBand("new", options.Value(cli_option::kBand), &band, &error)) {
        return ReportFailure(error);
    }
    CliPrompts prompts(options.Value(cli_option::kOutput));
    CHalvexDoc document(prompts, StartupDocumentSettings());
    if (!NewDocumentOnBand("new", band, &document, &error)) {
        return ReportFailure(error);
    }
    if (!document.SaveWithConfirmation(&error)) {
        return ReportFailure(error);
    }
    return kExitSuccess;
}
