// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program from its command line to the end of its event loop.
#pragma once

#include "link/serial_devices.h"

// Runs the desktop program: --help and --version answered without a window system, else the
// application started in the program's own directory, or in the user's folders once
// installed. deviceRoots is where serial devices are looked for; the shipped program passes
// the system's own.
int RunDesktop(int argc, char** argv, const DeviceRoots& deviceRoots);
