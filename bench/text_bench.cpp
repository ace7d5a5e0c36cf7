// SPDX-License-Identifier: GPL-3.0-or-later
// Dumping a full radio (128 channels, both VFOs, every option and preset) as text and applying
// that text again, against the 20 ms a command may take and as a ratio to opening the same
// .pgm file, all measured in this one run. Prints the median and the slowest of many runs.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "codeplug/document.h"
#include "config/settings.h"
#include "editors/channel_commit.h"
#include "support/quiet_prompts.h"
#include "textform/radio_text.h"
#include "textform/radio_text_parse.h"

namespace {

constexpr int kRuns = 50;
constexpr double kBudgetMilliseconds = 20.0;

struct Timing {
    double median;
    double slowest;
};

Timing Measure(const std::function<void()>& action) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        action();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

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
    const Timing open = Measure([&] {
        if (!opened.OnOpenDocument(pgmPath)) {
            Fail("cannot open the full radio");
        }
    });
    std::string text;
    const Timing dump = Measure([&] { text = DumpRadioText(opened); });
    const Timing parse = Measure([&] {
        RadioValues values;
        std::vector<TextError> errors;
        if (!ParseRadioText(text, &values, &errors)) {
            Fail("the dump does not parse");
        }
    });
    CHalvexDoc applied(prompts, settings);
    const Timing apply = Measure([&] {
        std::vector<TextError> errors;
        if (!ApplyRadioText(text, false, &applied, &errors)) {
            Fail("the dump does not apply");
        }
    });
    if (applied.bytes != opened.bytes) {
        Fail("the applied dump differs from the file");
    }
    auto print = [&](const char* what, const Timing& timing) {
        std::printf(
            "%-32s median %8.3f ms (%5.1f%% of %.0f ms, %6.1f x opening the .pgm)   "
            "slowest %8.3f ms\n",
            what, timing.median, 100.0 * timing.median / kBudgetMilliseconds, kBudgetMilliseconds,
            timing.median / open.median, timing.slowest);
    };
    print("open the .pgm of a full radio", open);
    print("dump it as text", dump);
    print("apply that text", apply);
    print("  of which reading the YAML", parse);
    std::filesystem::remove_all(directory);
    return 0;
}
