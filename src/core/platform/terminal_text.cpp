// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/terminal_text.h"

#include <cstdint>
#include <cstdio>

namespace {

std::string HexEscape(uint8_t byte) {
    char text[5];
    std::snprintf(text, sizeof text, "\\x%02X", byte);
    return text;
}

std::string ControlEscape(uint8_t byte) {
    switch (byte) {
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        case 0x1B:
            return "\\e";
        default:
            return HexEscape(byte);
    }
}

// The length of the well-formed UTF-8 sequence at text[at], or 0.
size_t SequenceLength(std::string_view text, size_t at) {
    auto byte = [&](size_t k) { return static_cast<uint8_t>(text[at + k]); };
    uint8_t lead = byte(0);
    size_t length = lead > 0xF4 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) {
            return 0;
        }
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) >= 0xA0) ||
        (lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) >= 0x90)) {
        return 0;
    }
    return length;
}

}  // namespace

std::string TerminalText(std::string_view text, size_t limit) {
    std::string shown;
    size_t at = 0;
    while (at < text.size()) {
        if (shown.size() >= limit) {
            return shown + "...";
        }
        uint8_t byte = static_cast<uint8_t>(text[at]);
        if (byte < 0x20 || byte == 0x7F) {
            shown += ControlEscape(byte);
            ++at;
            continue;
        }
        if (byte < 0x80) {
            shown += static_cast<char>(byte);
            ++at;
            continue;
        }
        size_t length = SequenceLength(text, at);
        // U+0080-U+009F are the C1 controls; some terminals obey them as escapes.
        if (length == 0 || (byte == 0xC2 && static_cast<uint8_t>(text[at + 1]) < 0xA0)) {
            shown += HexEscape(byte);
            ++at;
            continue;
        }
        shown.append(text.substr(at, length));
        at += length;
    }
    return shown;
}
