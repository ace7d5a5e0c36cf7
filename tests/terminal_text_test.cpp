// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/terminal_text.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// What a terminal could obey as a command: C0, DEL, C1, or a byte outside a UTF-8 sequence.
bool HoldsNoControl(const std::string& text) {
    for (size_t k = 0; k < text.size();) {
        auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
        unsigned char lead = byte(k);
        size_t length = lead < 0x80    ? 1
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC2 ? 2
                                       : 0;
        if (length == 0 || lead < 0x20 || lead == 0x7F || k + length > text.size() ||
            (lead == 0xC2 && byte(k + 1) < 0xA0)) {
            return false;
        }
        for (size_t m = 1; m < length; ++m) {
            if ((byte(k + m) & 0xC0) != 0x80) {
                return false;
            }
        }
        k += length;
    }
    return true;
}

TEST(TerminalTextTest, RandomBytesNeverReachTheTerminalAsControls) {
    std::mt19937 random(870);
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 300, '\0');
        for (char& c : text) {
            c = static_cast<char>(random() % 4 == 0 ? random() % 0x20 : random());
        }
        std::string whole = TerminalText(text, 100000);
        std::string shown = TerminalText(text, 100);
        EXPECT_TRUE(HoldsNoControl(whole)) << whole;
        EXPECT_LE(shown.size(), 100u + 4 + 3);
        if (shown != whole) {
            EXPECT_TRUE(shown.ends_with("...") &&
                        whole.starts_with(shown.substr(0, shown.size() - 3)));
        }
    }
}

TEST(TerminalTextTest, PrintableTextIsKeptAndControlsAreNamed) {
    const std::pair<std::string, std::string> cases[] = {
        {"Ch 1 Name \xC3\xA9\xE2\x82\xAC", "Ch 1 Name \xC3\xA9\xE2\x82\xAC"},
        {"\x1b]0;title\a\n\t\r", "\\e]0;title\\x07\\n\\t\\r"},
        {"\xC2\x9B"
         "2J",
         "\\xC2\\x9B2J"},
        {"\xFF\xC3", "\\xFF\\xC3"},
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(TerminalText(text), shown);
    }
    EXPECT_EQ(TerminalText(std::string(50, 'a'), 10), std::string(10, 'a') + "...");
}

}  // namespace
