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
    bool AskOkCancel(const std::string&, const std::string&) override { return true; }
    void ShowStopMessage(const std::string& text, const std::string&) override {
        m_Shown.push_back(text);
    }
    std::optional<std::string> AskSavePath() override { return std::nullopt; }
    const std::vector<std::string>& Shown() const { return m_Shown; }

private:
    std::vector<std::string> m_Shown;
};

}  // namespace halvex::test
