// The desktop program: the application object started in the program's own directory, or
// in the user's folders once installed.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/halvex_app.h"
#include "config/app_globals.h"
#include "grid/grid_accessible.h"

int main(int argc, char** argv) {
    // Answered before any window system is needed, so it also works without a desktop.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("halvex " HALVEX_VERSION);
        return 0;
    }
    QApplication application(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QApplication::setDesktopFileName(QStringLiteral("org.halvex.Halvex"));
    InstallGridAccessibility();
    CHalvexApp app;
    // The journeys point the port dialog's device list at a fake tree.
    if (const char* sys = std::getenv("HALVEX_SYSFS_ROOT")) {
        app.m_DeviceRoots.sysRoot = sys;
    }
    if (const char* dev = std::getenv("HALVEX_DEV_ROOT")) {
        app.m_DeviceRoots.devRoot = dev;
    }
    if (!app.InitInstance(ExecutableDirectory(), QApplication::arguments(), ProcessEnvironment())) {
        return 1;
    }
    return QApplication::exec();
}
