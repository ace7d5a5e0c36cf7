// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer_messages.h"

#include "config/language.h"

std::string TransferOutcomeText(const LinkOutcome& outcome) {
    TransferWords words =
        TransferOutcomeWords(outcome, [](const char* key) { return LoadLangString(key); });
    if (words.ending == TransferEnding::Unexpected) {
        return "the transfer ended in an unexpected state " + std::to_string(outcome.status);
    }
    // A cancel is the user's own doing: what the worker warned of meanwhile no longer matters.
    if (outcome.cancelled && !outcome.checked) {
        return words.text;
    }
    // The browser's own words for a port it would not open (in use, unplugged).
    if (outcome.status == StatusPortError && words.ending == TransferEnding::NoConnection &&
        !outcome.openError.empty()) {
        words.text += "\n\n";
        words.text += outcome.openError;
    }
    // The worker's warning goes first, as its message box comes before the dialog's line.
    if (outcome.warning.empty()) {
        return words.text;
    }
    std::string text = outcome.warning;
    if (!words.text.empty()) {
        text += "\n\n";
        text += words.text;
    }
    return text;
}
