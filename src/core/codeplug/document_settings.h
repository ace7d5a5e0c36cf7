// SPDX-License-Identifier: GPL-3.0-or-later
// What the document takes from the program's settings. Whoever creates a document gives it
// these; the document never reads the process-wide values.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Band line k of the settings, cut to bufferSize - 1 characters; nothing when it is missing or
// empty. Each call reads the settings anew, so a changed file takes effect at the next use.
using BandLineSource = std::function<std::optional<std::string>(int k, size_t bufferSize)>;

struct DocumentSettings {
    // Give the band words and the frequency limits; none when empty.
    BandLineSource bandLines;
    // The channels a new document's defaults cover; the document keeps it within 1..128.
    int channelCount = 1;
};
