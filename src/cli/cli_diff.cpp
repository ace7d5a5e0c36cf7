// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli diff: the channels and settings in which two .pgm files differ, in the same
// list the desktop's Compare with Radio shows. Exits as cmp does: 0 same, 1 different, 2 error.
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "codeplug/image_difference.h"
#include "codeplug/pgm_file.h"
#include "config/app_globals.h"
#include "platform/terminal_text.h"

namespace {

// A file write would refuse cannot stand for a radio: "the same" about it would mislead.
bool OpenWholeFile(const std::string& path, CHalvexDoc* document, std::string* error) {
    PgmFile file;
    size_t fileSize = 0;
    PgmLoadResult loaded = LoadPgmFile(path, &file, error, &fileSize);
    if (!IsWholePgmFile(path, loaded, fileSize, error)) {
        return false;
    }
    return document->OnOpenDocument(path, error);
}

}  // namespace

int RunDiffCommand(const ParsedOptions& options) {
    std::string error;
    CliPrompts prompts;
    CHalvexDoc first(prompts, StartupDocumentSettings());
    CHalvexDoc second(prompts, StartupDocumentSettings());
    if (!OpenWholeFile(options.Value("A.pgm"), &first, &error) ||
        !OpenWholeFile(options.Value("B.pgm"), &second, &error)) {
        ReportFailure("diff: " + error);
        return kExitDiffError;
    }
    std::vector<ImageDifference> differences =
        DiffImages(first, second, ClampChannelCount(g_ChannelCount));
    for (const ImageDifference& difference : differences) {
        std::cout << TerminalText(DifferenceLine(difference)) << '\n';
    }
    if (differences.empty()) {
        std::cout << "The files hold the same channels and settings.\n";
        return kExitSuccess;
    }
    return kExitDiffDifferent;
}
