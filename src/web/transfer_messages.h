// SPDX-License-Identifier: GPL-3.0-or-later
// The page's text for how a transfer ended: the core's words in the current language, with
// what only the page shows beside them (the worker's warning, the browser's open error).
#pragma once

#include <string>

#include "link_session.h"

// The done line or the failure; empty for a read the user cancelled, which ends quietly.
std::string TransferOutcomeText(const LinkOutcome& outcome);
