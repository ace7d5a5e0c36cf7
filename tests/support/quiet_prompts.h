// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "codeplug/document.h"

namespace halvex::test {

// A document's questions answered without a user: every OK/Cancel question gets OK, no save
// path is ever given, and the stop messages are kept for the test to read.
class QuietPrompts : public DocumentPrompts {
public:
    bool AskOkCancel(const DocumentMessage&) override { return true; }
    void ShowStopMessage(const DocumentMessage& message) override {
        m_Shown.push_back(message.textKey + message.detail);
    }
    std::optional<std::string> AskSavePath() override { return std::nullopt; }
    const std::vector<std::string>& Shown() const { return m_Shown; }

private:
    std::vector<std::string> m_Shown;
};

}  // namespace halvex::test
