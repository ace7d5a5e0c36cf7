// SPDX-License-Identifier: GPL-3.0-or-later
// The status note that tells the user an out-of-band frequency entry was replaced by the
// band's limit, in the language of the interface.
#pragma once

#include <QString>
#include <optional>

#include "editors/channel_commit.h"

// Empty when nothing was clamped, which clears an earlier note.
QString ClampNote(const std::optional<FrequencyClamp>& clamp);
