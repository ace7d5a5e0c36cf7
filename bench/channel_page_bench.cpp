// SPDX-License-Identifier: GPL-3.0-or-later
// How long the channel page takes to rebuild all 128 rows (after New, Open, a read or a
// language change) and to repaint the visible grid, with every channel in use. Prints the
// median and the slowest of many runs in milliseconds.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "codeplug/document.h"
#include "config/app_globals.h"
#include "config/settings.h"
#include "editors/channel_commit.h"
#include "editors/channel_page.h"
#include "grid/grid_ctrl.h"
#include "run_times.h"
#include "support/quiet_prompts.h"

namespace {

constexpr int kRuns = 200;

template <typename Action>
void Measure(const char* what, Action action) {
    const RunTimes times = TimeRuns(kRuns, action);
    std::printf("%-34s median %7.3f ms   slowest %7.3f ms   (%d runs)\n", what, times.medianMs,
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
        CommitReceiveFrequency(document, n, std::to_string(136 + n % 38) + ".125");
        CommitTransmitFrequency(document, n, std::to_string(136 + (n + 1) % 38) + ".125");
        document.EditImage().SetTone(n, kDecodeSide, n % 259);
        document.EditImage().SetTone(n, kEncodeSide, (n * 7) % 259);
        CommitChannelName(document, n, "CH" + std::to_string(n));
    }

    QWidget window;
    auto* page = new CChannelPage(document, g_SettingsPath, &window);
    window.resize(page->size());
    window.show();
    QApplication::processEvents();

    Measure("rebuild 128 rows (Reload)", [&] { page->Reload(); });
    CGridCtrl* grid = page->Grid();
    Measure("full repaint of the visible grid", [&] { grid->viewport()->repaint(); });
    return EXIT_SUCCESS;
}
