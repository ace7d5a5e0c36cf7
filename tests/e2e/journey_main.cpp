// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program as the journeys run it when a serial device must be found: devices are
// looked for under HALVEX_SYSFS_ROOT and HALVEX_DEV_ROOT when those are set.
#include <cstdlib>

#include "app/desktop_main.h"

int main(int argc, char** argv) {
    DeviceRoots roots;
    if (const char* sys = std::getenv("HALVEX_SYSFS_ROOT")) {
        roots.sysRoot = sys;
    }
    if (const char* dev = std::getenv("HALVEX_DEV_ROOT")) {
        roots.devRoot = dev;
    }
    return RunDesktop(argc, argv, roots);
}
