// SPDX-License-Identifier: GPL-3.0-or-later
// What the test dialogs show after an operation: language keys, never texts, so the core
// decides every message and the dialogs only look the keys up and show the box.
#pragma once

#include <string_view>

struct TestModeMessage {
    std::string_view textKey;
    // Empty: the box is captioned with the application's title instead of a language text.
    std::string_view captionKey;
    bool stopIcon = false;

    bool operator==(const TestModeMessage&) const = default;
};

inline constexpr TestModeMessage kWrongAccessCodeMessage{"IDS_ERROR_PASSWORD", "", true};
inline constexpr TestModeMessage kNoRadioMessage{"IDS_ERROR_PORTCONN", "IDS_ERROR", true};
inline constexpr TestModeMessage kWrongRadioMessage{"IDS_ERROR_TYPE", "IDS_ERROR", true};
inline constexpr TestModeMessage kWriteFailedMessage{"IDS_PROMPT_WRITEFAIL", "IDS_PROMPT", false};
inline constexpr TestModeMessage kWriteDoneMessage{"IDS_PROMPT_WRITESUCC", "IDS_PROMPT", false};
inline constexpr TestModeMessage kWriteCancelledMessage{"IDS_PROMPT_WRITECANCEL", "IDS_PROMPT",
                                                        false};
inline constexpr TestModeMessage kReadDoneMessage{"IDS_PROMPT_READSUCC", "IDS_PROMPT", false};
