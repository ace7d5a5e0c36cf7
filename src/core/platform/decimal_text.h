// SPDX-License-Identifier: GPL-3.0-or-later
// Decimal numbers as text, whatever the user's locale: a decimal comma there must not make
// a frequency misread or miswritten.
#pragma once

#include <string>
#include <string_view>

// The number text begins with, as std::from_chars reads it (no leading space, sign "+" or
// hexadecimal); 0 when it begins with none.
double ParseDecimal(std::string_view text);

// value with exactly decimals digits after the point.
std::string FormatFixed(double value, int decimals);
