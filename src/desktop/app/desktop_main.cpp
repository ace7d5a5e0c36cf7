// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop_main.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/halvex_app.h"
#include "config/app_globals.h"
#include "grid/grid_accessible.h"

namespace {

constexpr const char* kUsage =
    "Usage: halvex [FILE.pgm]\n"
    "Programs the RQ870 radio: read, edit, save and write its channels and settings.\n"
    "FILE.pgm is opened at start-up.\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "halvex-cli does the same from a terminal; see halvex-cli --help.\n";

}  // namespace

int RunDesktop(int argc, char** argv, const DeviceRoots& deviceRoots) {
    // Answered before any window system is needed, so they also work without a desktop.
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], "--version") == 0) {
            std::puts("halvex " HALVEX_VERSION);
            return 0;
        }
        if (std::strcmp(argv[index], "--help") == 0 || std::strcmp(argv[index], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    QApplication application(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral("org.halvex.Halvex"));
    InstallGridAccessibility();
    CHalvexApp app;
    app.SetDeviceRoots(deviceRoots);
    if (!app.InitInstance(ExecutableDirectory(), QApplication::arguments(), ProcessEnvironment())) {
        return 1;
    }
    return QApplication::exec();
}
