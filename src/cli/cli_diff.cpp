// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli diff: the channels and settings in which two .pgm files (or text forms) differ,
// in the same list the desktop's Compare with Radio shows. Exits as cmp does: 0 same, 1 different,
// 2 error.
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_support.h"
#include "codeplug/image_difference.h"
#include "codeplug/pgm_file.h"
#include "config/app_globals.h"
#include "platform/terminal_text.h"
#include "textform/radio_text.h"

namespace {

// A file write would refuse cannot stand for a radio: "the same" about it would mislead. A text
// form stands for the document apply would make of it.
bool OpenSide(const std::string& path, CHalvexDoc* document, std::string* error) {
    if (IsRadioTextPath(path)) {
        return document->OnNewDocument(true) && OpenRadioText(path, false, document, error);
    }
    return OpenWholePgmFile(path, document, error);
}

}  // namespace

int RunDiffCommand(const ParsedOptions& options) {
    std::string error;
    CliPrompts prompts;
    CHalvexDoc first(prompts, StartupDocumentSettings());
    CHalvexDoc second(prompts, StartupDocumentSettings());
    if (!OpenSide(options.Value(cli_option::kFirstFile), &first, &error) ||
        !OpenSide(options.Value(cli_option::kSecondFile), &second, &error)) {
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
