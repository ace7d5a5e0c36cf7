// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program, looking for serial devices where the system keeps them.
#include "app/desktop_main.h"

int main(int argc, char** argv) {
    return RunDesktop(argc, argv, DeviceRoots{});
}
