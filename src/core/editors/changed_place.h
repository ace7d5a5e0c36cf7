// SPDX-License-Identifier: GPL-3.0-or-later
// Where an undone or redone step shows on the pages, so the view can take the user there.
#pragma once

#include <vector>

#include "codeplug/edit_history.h"
#include "codeplug/radio_image.h"

struct ChangedPlace {
    enum class Page { None, Channels, Functions, Vfo };
    Page page = Page::None;
    // The channel table's cell; 0 and 0 when only the frequency range changed.
    int channel = 0;
    int column = 0;
};

// The first channel (then the first column) that reads differently before and after runs,
// else the page whose settings they touch. Runs are image offsets.
ChangedPlace FindChangedPlace(const RadioImage& current, const std::vector<ByteRun>& runs,
                              int channelCount);
