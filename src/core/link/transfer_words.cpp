// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/transfer_words.h"

#include "config/language.h"
#include "link/clone_frames.h"

namespace {

constexpr int kCloneBlocks =
    (clone_frames::kCloneEndAddress - clone_frames::kCloneFirstAddress) / clone_frames::kBlockSize;

std::string PartWriteText(const TransferOutcome& outcome, const LanguageText& text) {
    return FillLangText(text("IDS_PROMPT_WRITESTOPPED"), {outcome.blocks, kCloneBlocks});
}

TransferWords CheckWords(const TransferOutcome& outcome, const LanguageText& text) {
    if (outcome.checkUnread) {
        return {TransferEnding::Failed, text("IDS_PROMPT_VERIFYUNREAD")};
    }
    if (outcome.differingBlocks.empty()) {
        return {TransferEnding::Done, text("IDS_WRITE_DONE")};
    }
    const int count = static_cast<int>(outcome.differingBlocks.size());
    // Appended in steps: gcc 12 at -O3 misreads "\n" + string as an overlapping copy.
    std::string words = text("IDS_PROMPT_VERIFYFAIL");
    words += '\n';
    words += FillLangText(text(count == 1 ? "IDS_VERIFY_ONEBLOCK" : "IDS_VERIFY_BLOCKS"), {count});
    words += ' ';
    words += BlockAddressList(outcome.differingBlocks, kNamedSkippedBlocks);
    return {TransferEnding::Failed, words};
}

const char* PromptKey(TransferPhase phase) {
    switch (phase) {
        case TransferPhase::Checking:
            return "IDS_PROMPT_VERIFY";
        case TransferPhase::Reading:
            return "IDS_PROMPT_READ";
        case TransferPhase::Writing:
            break;
    }
    return "IDS_PROMPT_WRITE";
}

}  // namespace

std::string TransferPromptText(TransferPhase phase, const LanguageText& text) {
    return text(PromptKey(phase));
}

std::string TransferProgressText(TransferPhase phase, int percent, const LanguageText& text) {
    std::string words = text(PromptKey(phase));
    words += ' ';
    words += std::to_string(percent);
    words += '%';
    return words;
}

TransferWords TransferOutcomeWords(const TransferOutcome& outcome, const LanguageText& text) {
    if (outcome.checked) {
        return CheckWords(outcome, text);
    }
    if (outcome.cancelled) {
        if (outcome.read || outcome.blocks == 0) {
            return {};
        }
        return {TransferEnding::Stopped, PartWriteText(outcome, text)};
    }
    switch (outcome.status) {
        case StatusPortError:
            return {TransferEnding::NoConnection, text("IDS_ERROR_PORTCONN")};
        case StatusIdentError:
            return {TransferEnding::NoConnection, text("IDS_ERROR_TYPE")};
        case StatusEchoCable:
            return {TransferEnding::NoConnection, text("IDS_ERROR_ECHOCABLE")};
        case StatusReadFailed:
            if (outcome.skippedBlocks.empty()) {
                return {TransferEnding::Failed, text("IDS_PROMPT_READFAIL")};
            }
            // %d takes the count and %s the first addresses.
            return {TransferEnding::Failed,
                    FillLangText(text("IDS_PROMPT_READSKIPPED"),
                                 {static_cast<int>(outcome.skippedBlocks.size())},
                                 BlockAddressList(outcome.skippedBlocks, kNamedSkippedBlocks))};
        case StatusWriteFailed: {
            std::string words = text("IDS_PROMPT_WRITEFAIL");
            if (outcome.blocks > 0) {
                words += '\n';
                words += PartWriteText(outcome, text);
            }
            return {TransferEnding::Failed, words};
        }
        case StatusWriteDone:
            return {TransferEnding::Done, text("IDS_WRITE_DONE")};
        case StatusReadDone:
            return {TransferEnding::Done, text("IDS_READ_DONE")};
        default:
            return {TransferEnding::Unexpected, {}};
    }
}

bool TransferSucceeded(const TransferOutcome& outcome) {
    if (outcome.read) {
        return outcome.status == StatusReadDone && !outcome.cancelled;
    }
    if (outcome.checked) {
        return !outcome.checkUnread && outcome.differingBlocks.empty();
    }
    return outcome.status == StatusWriteDone;
}
