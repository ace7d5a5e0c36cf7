// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "codeplug/document.h"

namespace halvex::test {

// A document's questions answered without a user: each OK/Cancel question gets answer (OK
// unless the test says otherwise), Save As gets savePath (none unless given), and what was
// asked and shown is kept as "caption: text detail" for the test to read.
class QuietPrompts : public DocumentPrompts {
public:
    bool AskOkCancel(const DocumentMessage& message) override {
        questions.push_back(Line(message));
        return answer;
    }
    void ShowStopMessage(const DocumentMessage& message) override {
        messages.push_back(Line(message));
    }
    std::optional<std::string> AskSavePath() override {
        ++savePathRequests;
        return savePath;
    }

    bool answer = true;
    std::optional<std::string> savePath;
    int savePathRequests = 0;
    std::vector<std::string> questions;
    std::vector<std::string> messages;

private:
    static std::string Line(const DocumentMessage& message) {
        return message.captionKey + ": " + message.textKey + message.detail;
    }
};

}  // namespace halvex::test
