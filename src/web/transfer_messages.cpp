// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer_messages.h"

#include "config/language.h"
#include "link/clone_frames.h"

namespace {

constexpr int kCloneBlocks =
    (clone_frames::kCloneEndAddress - clone_frames::kCloneFirstAddress) / clone_frames::kBlockSize;

std::string PartWriteText(const LinkOutcome& outcome) {
    return LoadLangStringWith("IDS_PROMPT_WRITESTOPPED", {outcome.blocks, kCloneBlocks});
}

std::string CheckText(const LinkOutcome& outcome) {
    if (outcome.checkUnread) {
        return LoadLangString("IDS_PROMPT_VERIFYUNREAD");
    }
    if (outcome.differingBlocks.empty()) {
        return LoadLangString("IDS_WRITE_DONE");
    }
    const int count = static_cast<int>(outcome.differingBlocks.size());
    std::string text = LoadLangString("IDS_PROMPT_VERIFYFAIL");
    text += '\n';
    text += LoadLangStringWith(count == 1 ? "IDS_VERIFY_ONEBLOCK" : "IDS_VERIFY_BLOCKS", {count});
    text += ' ';
    text += BlockAddressList(outcome.differingBlocks, kNamedSkippedBlocks);
    return text;
}

// The worker's warning goes first, as its message box comes before the dialog's line.
std::string WithWarning(const LinkOutcome& outcome, std::string text) {
    if (outcome.warning.empty()) {
        return text;
    }
    return outcome.warning + (text.empty() ? "" : "\n\n" + text);
}

}  // namespace

std::string TransferProgressText(LinkPhase phase, int percent) {
    const char* key = phase == LinkPhase::Checking  ? "IDS_PROMPT_VERIFY"
                      : phase == LinkPhase::Reading ? "IDS_PROMPT_READ"
                                                    : "IDS_PROMPT_WRITE";
    return LoadLangString(key) + " " + std::to_string(percent) + "%";
}

bool TransferSucceeded(const LinkOutcome& outcome) {
    if (outcome.read) {
        return outcome.status == StatusReadDone && !outcome.cancelled;
    }
    if (outcome.checked) {
        return !outcome.checkUnread && outcome.differingBlocks.empty();
    }
    return outcome.status == StatusWriteDone;
}

std::string TransferOutcomeText(const LinkOutcome& outcome) {
    if (outcome.checked) {
        return WithWarning(outcome, CheckText(outcome));
    }
    if (outcome.cancelled) {
        // A write stopped between its first and last block left the radio half new.
        return !outcome.read && outcome.blocks > 0 ? PartWriteText(outcome) : std::string();
    }
    switch (outcome.status) {
        case StatusPortError: {
            std::string text = LoadLangString("IDS_ERROR_PORTCONN");
            // The browser's own words for a port it would not open (in use, unplugged).
            if (!outcome.openError.empty()) {
                text += "\n\n" + outcome.openError;
            }
            return WithWarning(outcome, text);
        }
        case StatusIdentError:
            return WithWarning(outcome, LoadLangString("IDS_ERROR_TYPE"));
        case StatusEchoCable:
            return WithWarning(outcome, LoadLangString("IDS_ERROR_ECHOCABLE"));
        case StatusReadFailed:
            if (outcome.skippedBlocks.empty()) {
                return WithWarning(outcome, LoadLangString("IDS_PROMPT_READFAIL"));
            }
            return WithWarning(
                outcome,
                LoadLangStringWith("IDS_PROMPT_READSKIPPED",
                                   {static_cast<int>(outcome.skippedBlocks.size())},
                                   BlockAddressList(outcome.skippedBlocks, kNamedSkippedBlocks)));
        case StatusWriteFailed: {
            std::string text = LoadLangString("IDS_PROMPT_WRITEFAIL");
            if (outcome.blocks > 0) {
                text += '\n';
                text += PartWriteText(outcome);
            }
            return WithWarning(outcome, text);
        }
        case StatusWriteDone:
            return WithWarning(outcome, LoadLangString("IDS_WRITE_DONE"));
        case StatusReadDone:
            return WithWarning(outcome, LoadLangString("IDS_READ_DONE"));
        default:
            return "the transfer ended in an unexpected state " + std::to_string(outcome.status);
    }
}
