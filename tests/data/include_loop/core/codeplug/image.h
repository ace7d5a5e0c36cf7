// SPDX-License-Identifier: GPL-3.0-or-later
// The data layer reaching up closes a loop through the rules above it.
#pragma once

#include "editors/rules.h"
