// SPDX-License-Identifier: GPL-3.0-or-later
// Editing power on a full 128-channel table: the main window resized from its opening size
// to 1920 x 1080 and back (each resize laid out and painted at once), and Set for Selected
// Channels, Sort Channels and Fill Frequencies over all 128 channels, each committed as its
// undo step. Prints the median and the slowest of many runs in milliseconds.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "codeplug/channel_sort.h"
#include "codeplug/document.h"
#include "config/app_globals.h"
#include "config/settings.h"
#include "editors/channel_bulk_edit.h"
#include "editors/channel_commit.h"
#include "run_times.h"
#include "support/quiet_prompts.h"
#include "view/main_view.h"

namespace {

constexpr int kRuns = 100;

template <typename Action>
void Measure(const char* what, Action action) {
    const RunTimes times = TimeRuns(kRuns, action);
    std::printf("%-40s median %7.3f ms   slowest %7.3f ms   (%d runs)\n", what, times.medianMs,
                times.slowestMs, kRuns);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    std::string error;
    if (!LoadStartupSettings(HALVEX_BIN_DIR, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return EXIT_FAILURE;
    }
    halvex::test::QuietPrompts prompts;
    CHalvexDoc document(prompts, DocumentSettingsFor(g_SettingsPath, kImageChannelCount));
    document.OnNewDocument(true);
    for (int n = 1; n <= kImageChannelCount; ++n) {
        CommitReceiveFrequency(document, n, std::to_string(136 + (n * 7) % 38) + ".125");
        CommitChannelName(document, n, "CH" + std::to_string(n * 37 % 128));
    }
    document.ClearEditHistory();

    CMainFrame frame(document);
    frame.View()->OnInitialUpdate();
    frame.resize(kFrameMinimumWidth, kFrameMinimumHeight);
    frame.show();
    QApplication::processEvents();
    Measure("resize 1000x600 <-> 1920x1080, painted", [&](int run) {
        frame.resize(run % 2 == 0 ? QSize(1920, 1080)
                                  : QSize(kFrameMinimumWidth, kFrameMinimumHeight));
        frame.repaint();
    });

    std::vector<int> all(kImageChannelCount);
    std::iota(all.begin(), all.end(), 1);
    const ChannelTableSettings table{false, false, kImageChannelCount};
    Measure("set power on 128 channels + undo step", [&](int run) {
        SetColumnForChannels(document, all, {kColumnPower, run % 2, {}}, table);
        document.CommitEdit("set");
    });
    Measure("sort 128 channels + undo step", [&](int run) {
        SortChannels(document.EditImage(), kImageChannelCount, all,
                     {run % 2 == 0 ? ChannelSortKey::Name : ChannelSortKey::Receive, false});
        document.CommitEdit("sort");
    });
    Measure("fill 128 frequencies + undo step", [&](int run) {
        FillFrequencies(document, all, 14400000 + run * 125, 1250, -60000, table);
        document.CommitEdit("fill");
    });
    return EXIT_SUCCESS;
}
