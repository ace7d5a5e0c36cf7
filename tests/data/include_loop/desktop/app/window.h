// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop code above the core is no loop, and an include of a system header is no folder.
#pragma once

#include <vector>

#include "codeplug/image.h"
#include "window_part.h"
