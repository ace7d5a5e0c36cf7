// SPDX-License-Identifier: GPL-3.0-or-later
// What the transfer dialog says, in the current language: its progress line and the text it
// ends with, from the facts an exchange gave back. The desktop's dialog words them the same.
#pragma once

#include <string>

#include "link_session.h"

// "Reading from the radio... 42%".
std::string TransferProgressText(LinkPhase phase, int percent);

// The done line or the failure; empty for a read the user cancelled, which ends quietly.
std::string TransferOutcomeText(const LinkOutcome& outcome);

// The exchange did what was asked (a write with its check, when one was asked for).
bool TransferSucceeded(const LinkOutcome& outcome);
