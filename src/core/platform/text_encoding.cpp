// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

unsigned char Byte(std::string_view bytes, size_t index) {
    return static_cast<unsigned char>(bytes[index]);
}

bool InRange(unsigned char value, unsigned char low, unsigned char high) {
    return value >= low && value <= high;
}

// Length of the well-formed UTF-8 sequence at index, 0 when there is none.
size_t Utf8SequenceLength(std::string_view bytes, size_t index) {
    unsigned char lead = Byte(bytes, index);
    size_t left = bytes.size() - index;
    if (lead < 0x80) {
        return 1;
    }
    auto continuation = [&](size_t offset, unsigned char low, unsigned char high) {
        return offset < left && InRange(Byte(bytes, index + offset), low, high);
    };
    if (InRange(lead, 0xC2, 0xDF)) {
        return continuation(1, 0x80, 0xBF) ? 2 : 0;
    }
    if (InRange(lead, 0xE0, 0xEF)) {
        unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return continuation(1, low, high) && continuation(2, 0x80, 0xBF) ? 3 : 0;
    }
    if (InRange(lead, 0xF0, 0xF4)) {
        unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return continuation(1, low, high) && continuation(2, 0x80, 0xBF) &&
                       continuation(3, 0x80, 0xBF)
                   ? 4
                   : 0;
    }
    return 0;
}

// Length of the GB18030 character at index; a byte that starts none counts as one.
size_t Gb18030CharacterLength(std::string_view bytes, size_t index) {
    unsigned char lead = Byte(bytes, index);
    size_t left = bytes.size() - index;
    if (!InRange(lead, 0x81, 0xFE) || left < 2) {
        return 1;
    }
    unsigned char second = Byte(bytes, index + 1);
    if (InRange(second, 0x40, 0x7E) || InRange(second, 0x80, 0xFE)) {
        return 2;
    }
    if (InRange(second, 0x30, 0x39) && left >= 4 && InRange(Byte(bytes, index + 2), 0x81, 0xFE) &&
        InRange(Byte(bytes, index + 3), 0x30, 0x39)) {
        return 4;
    }
    return 1;
}

size_t CharacterLength(std::string_view bytes, size_t index, TextEncoding encoding) {
    if (encoding == TextEncoding::kGb18030) {
        return Gb18030CharacterLength(bytes, index);
    }
    size_t length = Utf8SequenceLength(bytes, index);
    return length == 0 ? 1 : length;
}

std::string RepairUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    size_t index = 0;
    while (index < bytes.size()) {
        size_t length = Utf8SequenceLength(bytes, index);
        if (length == 0) {
            text += kReplacement;
            index += 1;
        } else {
            text += bytes.substr(index, length);
            index += length;
        }
    }
    return text;
}

std::string Gb18030ToUtf8(std::string_view bytes) {
    iconv_t converter = iconv_open("UTF-8", "GB18030");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        // Without the converter the ASCII part is still worth showing.
        std::string text;
        for (char character : bytes) {
            text += static_cast<unsigned char>(character) < 0x80 ? std::string(1, character)
                                                                 : std::string(kReplacement);
        }
        return text;
    }
    std::string text;
    std::string input(bytes);
    char* in = input.data();
    size_t inLeft = input.size();
    char block[4096];
    while (inLeft > 0) {
        char* out = block;
        size_t outLeft = sizeof block;
        size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        text.append(block, static_cast<size_t>(out - block));
        if (result != static_cast<size_t>(-1) || errno == E2BIG) {
            continue;
        }
        // Undecodable or cut-off bytes: one replacement character each, then go on.
        text += kReplacement;
        ++in;
        --inLeft;
    }
    iconv_close(converter);
    return text;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    size_t index = 0;
    while (index < bytes.size()) {
        size_t length = Utf8SequenceLength(bytes, index);
        if (length == 0) {
            return false;
        }
        index += length;
    }
    return true;
}

bool IsValidGb18030(std::string_view bytes) {
    size_t index = 0;
    while (index < bytes.size()) {
        size_t length = Gb18030CharacterLength(bytes, index);
        // A single byte outside ASCII starts no character.
        if (length == 1 && Byte(bytes, index) > 0x7F) {
            return false;
        }
        index += length;
    }
    return true;
}

bool HasUtf8Bom(std::string_view bytes) {
    return bytes.starts_with("\xEF\xBB\xBF");
}

TextEncoding DetectTextEncoding(std::string_view fileBytes) {
    return HasUtf8Bom(fileBytes) || IsValidUtf8(fileBytes) ? TextEncoding::kUtf8
                                                           : TextEncoding::kGb18030;
}

std::string_view CutAtCharacterBoundary(std::string_view bytes, size_t limit,
                                        TextEncoding encoding) {
    if (bytes.size() <= limit) {
        return bytes;
    }
    size_t boundary = 0;
    while (boundary < bytes.size()) {
        size_t next = boundary + CharacterLength(bytes, boundary, encoding);
        if (next > limit) {
            break;
        }
        boundary = next;
    }
    return bytes.substr(0, boundary);
}

std::string DecodeToUtf8(std::string_view bytes, TextEncoding encoding) {
    return encoding == TextEncoding::kUtf8 ? RepairUtf8(bytes) : Gb18030ToUtf8(bytes);
}
