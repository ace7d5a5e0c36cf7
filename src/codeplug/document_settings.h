// SPDX-License-Identifier: GPL-3.0-or-later
// What the document takes from the program's settings. Whoever creates a document gives it
// these; the document never reads the process-wide values.
#pragma once

#include <string>

struct DocumentSettings {
    // The setting.ini whose band lines give the band words and the frequency limits.
    std::string settingsPath;
    // The channels a new document's defaults cover; the document keeps it within 1..128.
    int channelCount = 1;
};
