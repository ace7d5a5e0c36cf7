// SPDX-License-Identifier: GPL-3.0-or-later
// The PTT-ID code as the radio stores it (one DTMF digit per byte) and as the page shows it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "codeplug/radio_image.h"

using PttIdCode = std::array<uint8_t, kPttIdCodeSize>;

// "0"-"9" and "A"-"D" for the bytes 0-13; the first byte of any other value ends the text.
std::string PttIdCodeText(const PttIdCode& code);

// The bytes of up to six digits ("a"-"d" as "A"-"D"). The first position holding anything
// else, the end of a shorter text included, and every position after it become 0xFF.
PttIdCode PttIdCodeFromText(std::string_view text);
