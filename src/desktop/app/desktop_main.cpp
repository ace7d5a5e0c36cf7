// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop_main.h"

#include <QApplication>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "app/halvex_app.h"
#include "config/app_globals.h"
#include "grid/grid_accessible.h"
#include "platform/command_options.h"

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

constexpr int kUsageExit = 2;

constexpr std::array kOptions = {
    OptionDefinition{"--version", "", "show the version and exit"},
    OptionDefinition{"FILE.pgm", "", "", OptionKind::InputFile},
};

}  // namespace

int RunDesktop(int argc, char** argv, const DeviceRoots& deviceRoots) {
    // Answered before any window system is needed, so they also work without a desktop, and
    // a mistyped option never opens a window.
    const std::vector<std::string> given(argv + (argc > 0 ? 1 : 0), argv + argc);
    ParsedOptions parsed;
    std::string error;
    if (!ParseOptions(kOptions, given, &parsed, &error)) {
        std::fprintf(stderr, "halvex: %s\n\n%s", error.c_str(), kUsage);
        return kUsageExit;
    }
    if (parsed.Has("--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (parsed.Has("--version")) {
        std::puts("halvex " HALVEX_VERSION);
        return 0;
    }
    // Qt's own options are refused above, so it is shown the program's name alone.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral("org.halvex.Halvex"));
    InstallGridAccessibility();
    CHalvexApp app;
    app.SetDeviceRoots(deviceRoots);
    QStringList arguments = QApplication::arguments().mid(0, 1);
    if (parsed.Has("FILE.pgm")) {
        arguments.append(QString::fromLocal8Bit(parsed.Value("FILE.pgm")));
    }
    if (!app.InitInstance(ExecutableDirectory(), arguments, ProcessEnvironment())) {
        return 1;
    }
    return QApplication::exec();
}
