// SPDX-License-Identifier: GPL-3.0-or-later
// What a transfer says while it runs and how it ends, from the facts an exchange gave back:
// the one choice of words the desktop's dialog and the page both show. How each shows them
// (a line, a box, the doctor beside a failed connection) is theirs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/transfer_job.h"

enum class TransferPhase : int32_t { Reading = 0, Writing = 1, Checking = 2 };

struct TransferOutcome {
    // The exchange's last status: of the read, the write, or the check's read-back.
    TransferStatus status = StatusIdle;
    bool read = true;
    // The user stopped it before it came to an end of its own.
    bool cancelled = false;
    // Blocks the radio took (write) or gave (read); a check does not count.
    int blocks = 0;
    std::vector<int> skippedBlocks{};
    // A write's check ran; its read-back could not be done when checkUnread.
    bool checked = false;
    bool checkUnread = false;
    std::vector<int> differingBlocks{};
};

enum class TransferEnding {
    // A read the user cancelled, or a write stopped before the radio took a block: no words.
    Quiet,
    Done,
    Failed,
    // No radio of this model on the line: the connection doctor may say more.
    NoConnection,
    // A write cancelled part way: the radio holds part of the new data.
    Stopped,
    // A status no exchange ends with.
    Unexpected,
};

struct TransferWords {
    TransferEnding ending = TransferEnding::Quiet;
    std::string text;
};

// The language text of a key, escapes already turned into line feeds.
using LanguageText = std::function<std::string(const char* key)>;

// "Reading from the radio..." before the first block.
std::string TransferPromptText(TransferPhase phase, const LanguageText& text);
// "Reading from the radio... 42%".
std::string TransferProgressText(TransferPhase phase, int percent, const LanguageText& text);

TransferWords TransferOutcomeWords(const TransferOutcome& outcome, const LanguageText& text);

// The exchange did what was asked (a write with its check, when one was asked for).
bool TransferSucceeded(const TransferOutcome& outcome);
