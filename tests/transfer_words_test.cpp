// SPDX-License-Identifier: GPL-3.0-or-later
// How a transfer ends in words, the one choice the desktop's dialog and the page both show:
// each outcome's ending, keys and fill, and every shipped language wording each of them whole.
#include "link/transfer_words.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "config/language.h"
#include "config/language_files.h"

namespace {

// The key itself with every placeholder its text could hold, so a row shows key and fill.
std::string KeyText(const char* key) {
    return std::string("[") + key + " %d/%d %s]";
}

struct OutcomeCase {
    const char* name;
    TransferOutcome outcome;
    TransferEnding ending;
    std::string text;
    bool succeeded;
};

const std::vector<int> kFiveBlocks = {0x0800, 0x0810, 0x0820, 0x0830, 0x0840};

std::vector<OutcomeCase> Cases() {
    return {
        {"read done",
         {.status = StatusReadDone},
         TransferEnding::Done,
         "[IDS_READ_DONE %d/%d %s]",
         true},
        {"read cancelled",
         {.status = StatusReadProgress, .cancelled = true, .blocks = 9},
         TransferEnding::Quiet,
         "",
         false},
        {"read failed",
         {.status = StatusReadFailed},
         TransferEnding::Failed,
         "[IDS_PROMPT_READFAIL %d/%d %s]",
         false},
        {"read skipped five, four named",
         {.status = StatusReadFailed, .skippedBlocks = kFiveBlocks},
         TransferEnding::Failed,
         "[IDS_PROMPT_READSKIPPED 5/%d 0x0800, 0x0810, 0x0820, 0x0830, ...]",
         false},
        {"no answer",
         {.status = StatusPortError},
         TransferEnding::NoConnection,
         "[IDS_ERROR_PORTCONN %d/%d %s]",
         false},
        {"other model",
         {.status = StatusIdentError, .read = false},
         TransferEnding::NoConnection,
         "[IDS_ERROR_TYPE %d/%d %s]",
         false},
        {"echoing cable",
         {.status = StatusEchoCable},
         TransferEnding::NoConnection,
         "[IDS_ERROR_ECHOCABLE %d/%d %s]",
         false},
        {"write done",
         {.status = StatusWriteDone, .read = false},
         TransferEnding::Done,
         "[IDS_WRITE_DONE %d/%d %s]",
         true},
        {"write failed before a block",
         {.status = StatusWriteFailed, .read = false},
         TransferEnding::Failed,
         "[IDS_PROMPT_WRITEFAIL %d/%d %s]",
         false},
        {"write failed part way",
         {.status = StatusWriteFailed, .read = false, .blocks = 7},
         TransferEnding::Failed,
         "[IDS_PROMPT_WRITEFAIL %d/%d %s]\n[IDS_PROMPT_WRITESTOPPED 7/384 ]",
         false},
        {"write cancelled part way",
         {.status = StatusWriteProgress, .read = false, .cancelled = true, .blocks = 7},
         TransferEnding::Stopped,
         "[IDS_PROMPT_WRITESTOPPED 7/384 ]",
         false},
        {"write cancelled before a block",
         {.status = StatusWriteProgress, .read = false, .cancelled = true},
         TransferEnding::Quiet,
         "",
         false},
        {"check matches",
         {.status = StatusReadDone, .read = false, .checked = true},
         TransferEnding::Done,
         "[IDS_WRITE_DONE %d/%d %s]",
         true},
        {"check unread, even when cancelled",
         {.status = StatusIdle,
          .read = false,
          .cancelled = true,
          .checked = true,
          .checkUnread = true},
         TransferEnding::Failed,
         "[IDS_PROMPT_VERIFYUNREAD %d/%d %s]",
         false},
        {"check finds one block",
         {.status = StatusReadDone, .read = false, .checked = true, .differingBlocks = {0x0900}},
         TransferEnding::Failed,
         "[IDS_PROMPT_VERIFYFAIL %d/%d %s]\n[IDS_VERIFY_ONEBLOCK 1/%d ] 0x0900",
         false},
        {"check finds five blocks",
         {.status = StatusReadDone, .read = false, .checked = true, .differingBlocks = kFiveBlocks},
         TransferEnding::Failed,
         "[IDS_PROMPT_VERIFYFAIL %d/%d %s]\n[IDS_VERIFY_BLOCKS 5/%d ] 0x0800, 0x0810, 0x0820, "
         "0x0830, ...",
         false},
        {"a status no exchange ends with",
         {.status = StatusSearching},
         TransferEnding::Unexpected,
         "",
         false},
    };
}

TEST(TransferWords, EachOutcomeHasItsEndingKeysAndFill) {
    for (const OutcomeCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        const TransferWords words = TransferOutcomeWords(c.outcome, KeyText);
        EXPECT_EQ(words.ending, c.ending);
        EXPECT_EQ(words.text, c.text);
        EXPECT_EQ(TransferSucceeded(c.outcome), c.succeeded);
    }
    EXPECT_EQ(TransferProgressText(TransferPhase::Checking, 42, KeyText),
              "[IDS_PROMPT_VERIFY %d/%d %s] 42%");
    EXPECT_EQ(TransferPromptText(TransferPhase::Writing, KeyText), "[IDS_PROMPT_WRITE %d/%d %s]");
}

// A language missing a key or a placeholder shows "Not Found" or a bare %d to the user.
TEST(TransferWords, EveryLanguageWordsEveryOutcomeWhole) {
    const std::vector<std::string> languages = LanguageFilePaths({HALVEX_BIN_DIR});
    ASSERT_GE(languages.size(), 2u);
    const std::regex leftOver("%[ds]");
    for (const std::string& language : languages) {
        const LanguageText text = [&language](const char* key) {
            return LoadLangString(language, key);
        };
        for (const OutcomeCase& c : Cases()) {
            SCOPED_TRACE(language + ": " + c.name);
            const std::string words = TransferOutcomeWords(c.outcome, text).text;
            EXPECT_EQ(words.empty(), c.text.empty());
            EXPECT_EQ(words.find(kNotFoundText), std::string::npos) << words;
            EXPECT_FALSE(std::regex_search(words, leftOver)) << words;
        }
        for (TransferPhase phase :
             {TransferPhase::Reading, TransferPhase::Writing, TransferPhase::Checking}) {
            EXPECT_EQ(TransferProgressText(phase, 7, text).find(kNotFoundText), std::string::npos);
        }
    }
}

}  // namespace
