// SPDX-License-Identifier: GPL-3.0-or-later
// Dumping a full radio (128 channels, both VFOs, every option and preset) as text and applying
// that text again, against the 20 ms a command may take and as a ratio to opening the same
// .pgm file, all measured in this one run. Prints the median and the slowest of many runs.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "codeplug/document.h"
#include "config/settings.h"
#include "editors/channel_commit.h"
#include "run_times.h"
#include "support/quiet_prompts.h"
#include "textform/radio_text.h"
#include "textform/radio_text_parse.h"

namespace {

constexpr int kRuns = 50;
constexpr double kBudgetMilliseconds = 20.0;

void Fail(const char* what) {
    std::fprintf(stderr, "text_bench: %s\n", what);
    std::exit(1);
}

}  // namespace

int main() {
    char pattern[] = "/tmp/text_bench.XXXXXX";
    const std::string directory = mkdtemp(pattern);
    std::ofstream(directory + "/setting.ini")
        << "[setup]\nchannelcount=128\n[ModelInfo]\nFreq0=136-174MHz\ndata0=6013401700000000\n";
    halvex::test::QuietPrompts prompts;
    const DocumentSettings settings = DocumentSettingsFor(directory + "/setting.ini", 128);
    CHalvexDoc full(prompts, settings);
    full.OnNewDocument(true);
    for (int n = 1; n <= kImageChannelCount; ++n) {
        CommitReceiveFrequency(full, n, FormatFrequencyValue(14400000 + 2500 * n));
        CommitTransmitFrequency(full, n, FormatFrequencyValue(14460000 + 2500 * n));
        CommitTone(full, n, kDecodeSide, 1 + n % 50);
        CommitTone(full, n, kEncodeSide, 51 + n % 100);
        CommitChannelName(full, n, "CH" + std::to_string(n));
    }
    const std::string pgmPath = directory + "/full.pgm";
    if (!full.OnSaveDocument(pgmPath)) {
        Fail("cannot save the full radio");
    }
    CHalvexDoc opened(prompts, settings);
    const RunTimes open = TimeRuns(kRuns, [&] {
        if (!opened.OnOpenDocument(pgmPath)) {
            Fail("cannot open the full radio");
        }
    });
    std::string text;
    const RunTimes dump = TimeRuns(kRuns, [&] { text = DumpRadioText(opened); });
    const RunTimes parse = TimeRuns(kRuns, [&] {
        RadioValues values;
        std::vector<TextError> errors;
        if (!ParseRadioText(text, &values, &errors)) {
            Fail("the dump does not parse");
        }
    });
    CHalvexDoc applied(prompts, settings);
    const RunTimes apply = TimeRuns(kRuns, [&] {
        std::vector<TextError> errors;
        if (!ApplyRadioText(text, false, &applied, &errors)) {
            Fail("the dump does not apply");
        }
    });
    if (applied.Image().bytes != opened.Image().bytes) {
        Fail("the applied dump differs from the file");
    }
    auto print = [&](const char* what, const RunTimes& timing) {
        std::printf(
            "%-32s median %8.3f ms (%5.1f%% of %.0f ms, %6.1f x opening the .pgm)   "
            "slowest %8.3f ms\n",
            what, timing.medianMs, 100.0 * timing.medianMs / kBudgetMilliseconds,
            kBudgetMilliseconds, timing.medianMs / open.medianMs, timing.slowestMs);
    };
    print("open the .pgm of a full radio", open);
    print("dump it as text", dump);
    print("apply that text", apply);
    print("  of which reading the YAML", parse);
    std::filesystem::remove_all(directory);
    return 0;
}
