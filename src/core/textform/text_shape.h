// SPDX-License-Identifier: GPL-3.0-or-later
// What a text must be before the YAML parser sees it: plain text, indented with spaces, and
// nested no deeper than a configuration could be. The parser recurses once per level and
// words these faults after their side effects ("illegal map value"), so they are named here.
#pragma once

#include <optional>
#include <string_view>

#include "textform/radio_apply.h"

// The first fault of text's shape, with its place; nothing when the parser may read it.
std::optional<TextError> TextShapeProblem(std::string_view text);
