// SPDX-License-Identifier: GPL-3.0-or-later
// Text from files and arguments shown on a terminal: a name or a cell may carry escape
// sequences that would retitle or clear the terminal, or megabytes on one line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Enough for any path or value a user would recognise, short enough for one line.
constexpr size_t kEchoedValueLimit = 200;
// A whole message line that quotes such values.
constexpr size_t kEchoedLineLimit = 2000;

// text with control characters (C0, DEL, C1) shown as \n, \t, \e or \xNN and bytes that are not
// UTF-8 as \xNN, cut after about limit bytes with "..." at the end.
std::string TerminalText(std::string_view text, size_t limit = kEchoedLineLimit);
