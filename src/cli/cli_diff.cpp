// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli diff: the channels and settings in which two .pgm files (or text forms), or a file
// and the radio itself, differ, in the same list the desktop's Compare with Radio shows. Exits
// as cmp does: 0 same, 1 different, 2 error; a radio that cannot be read gives read's status.
#include <iostream>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_read_write.h"
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

// The radio as Compare with Radio reads it: over the file's image as a write would send it, so
// the bytes no read brings compare equal.
int ReadSide(const std::string& device, CHalvexDoc* file, CHalvexDoc* radio) {
    file->EditImage().PrepareImage();
    radio->SetHeader(file->Header());
    radio->EditImage().bytes = file->Image().bytes;
    const int status = ReadRadioOver(device, &radio->EditImage().bytes);
    radio->ComputeFrequencyLimits();
    return status == kExitFailure ? kExitDiffError : status;
}

}  // namespace

int RunDiffCommand(const ParsedOptions& options) {
    std::string error;
    CliPrompts prompts;
    CHalvexDoc first(prompts, StartupDocumentSettings());
    CHalvexDoc second(prompts, StartupDocumentSettings());
    const bool withRadio = options.Has(cli_option::kDevice);
    if (!withRadio && !options.Has(cli_option::kSecondFile)) {
        ReportFailure(
            "diff: B.pgm is missing; give it, or --device PATH to compare A.pgm with "
            "the radio");
        return kExitDiffError;
    }
    if (!OpenSide(options.Value(cli_option::kFirstFile), &first, &error) ||
        (!withRadio && !OpenSide(options.Value(cli_option::kSecondFile), &second, &error))) {
        ReportFailure("diff: " + error);
        return kExitDiffError;
    }
    if (withRadio) {
        const int status = ReadSide(options.Value(cli_option::kDevice), &first, &second);
        if (status != kExitSuccess) {
            return status;
        }
    }
    std::vector<ImageDifference> differences =
        DiffImages(first, second, ClampChannelCount(g_ChannelCount));
    for (const ImageDifference& difference : differences) {
        std::cout << TerminalText(DifferenceLine(difference)) << '\n';
    }
    if (differences.empty()) {
        std::cout << (withRadio ? "The file and the radio hold the same channels and settings.\n"
                                : "The files hold the same channels and settings.\n");
        return kExitSuccess;
    }
    return kExitDiffDifferent;
}
