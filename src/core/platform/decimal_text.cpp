// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/decimal_text.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>

// The browser build's C++ library has no floating-point from_chars or to_chars; its C library
// knows only the "C" locale, so strtod and snprintf are locale-independent there.
#if defined(__EMSCRIPTEN__)

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

double ParseDecimal(std::string_view text) {
    std::string number(text);
    size_t digits = !number.empty() && number[0] == '-' ? 1 : 0;
    // What from_chars refuses outright: no number there at all.
    if (digits >= number.size() ||
        !(IsDigit(number[digits]) || number[digits] == '.' || number[digits] == 'i' ||
          number[digits] == 'I' || number[digits] == 'n' || number[digits] == 'N')) {
        return 0.0;
    }
    // from_chars reads the 0 of "0x10" and stops; strtod would read sixteen.
    if (number.size() > digits + 1 && number[digits] == '0' &&
        (number[digits + 1] == 'x' || number[digits + 1] == 'X')) {
        return number[0] == '-' ? -0.0 : 0.0;
    }
    return std::strtod(number.c_str(), nullptr);
}

std::string FormatFixed(double value, int decimals) {
    std::array<char, 64> buffer{};
    int length = std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, value);
    if (length < 0 || static_cast<size_t>(length) >= buffer.size()) {
        return std::string();
    }
    return std::string(buffer.data(), static_cast<size_t>(length));
}

#else

double ParseDecimal(std::string_view text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string FormatFixed(double value, int decimals) {
    std::array<char, 64> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                std::chars_format::fixed, decimals);
    // A value too long for any frequency box gives no text rather than the buffer's rest.
    if (result.ec != std::errc()) {
        return std::string();
    }
    return std::string(buffer.data(), result.ptr);
}

#endif
