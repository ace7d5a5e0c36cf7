// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli dump and apply: a .pgm file as its text form, and a text form stored into a new
// document or over an existing file. apply writes nothing while the text has any error.
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_support.h"
#include "config/app_globals.h"
#include "platform/atomic_file.h"
#include "textform/radio_text.h"

bool OpenWholePgmFile(const std::string& path, CHalvexDoc* document, std::string* error) {
    PgmFile file;
    size_t fileSize = 0;
    PgmLoadResult loaded = LoadPgmFile(path, &file, error, &fileSize);
    if (!IsWholePgmFile(path, loaded, fileSize, error)) {
        return false;
    }
    return document->OnOpenDocument(path, error);
}

bool OpenRadioText(const std::string& path, bool into, CHalvexDoc* document, std::string* error) {
    std::string text;
    if (!ReadRadioTextFile(path, &text, error)) {
        return false;
    }
    std::vector<TextError> errors, notes;
    if (ApplyRadioText(text, into, document, &errors, &notes)) {
        for (const std::string& line : TextErrorLines(path, notes)) {
            PrintNote(line);
        }
        return true;
    }
    for (const std::string& line : TextErrorLines(path, errors)) {
        PrintNote(line);
    }
    *error = std::to_string(errors.size());
    *error += errors.size() == 1 ? " error in " : " errors in ";
    *error += path;
    return false;
}

int RunDumpCommand(const ParsedOptions& options) {
    std::string error;
    CliPrompts prompts;
    CHalvexDoc document(prompts, StartupDocumentSettings());
    if (!OpenWholePgmFile(options.Value(cli_option::kPgmFile), &document, &error)) {
        return ReportFailure("dump: " + error);
    }
    const std::string text = DumpRadioText(document);
    if (!options.Has(cli_option::kOutput)) {
        std::cout << text;
    } else if (!ReplaceFileContents(options.Value(cli_option::kOutput), text, &error)) {
        return ReportFailure("dump: " + error);
    }
    return kExitSuccess;
}

int RunApplyCommand(const ParsedOptions& options) {
    std::string error;
    CliPrompts prompts(options.Value(cli_option::kOutput));
    CHalvexDoc document(prompts, StartupDocumentSettings());
    const bool into = options.Has(cli_option::kInto);
    if (into ? !OpenWholePgmFile(options.Value(cli_option::kInto), &document, &error)
             : !document.OnNewDocument(true)) {
        return ReportFailure("apply: " + error);
    }
    if (!OpenRadioText(options.Value(cli_option::kTextInput), into, &document, &error)) {
        return ReportFailure("apply: " + error + "; nothing written");
    }
    if (!document.OnSaveDocument(options.Value(cli_option::kOutput), &error)) {
        return ReportFailure("apply: " + error);
    }
    return kExitSuccess;
}
