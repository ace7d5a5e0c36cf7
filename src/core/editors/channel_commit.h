// SPDX-License-Identifier: GPL-3.0-or-later
// What an entry in the channel table does to the image: the frequency commits with their
// offset bookkeeping, clearing a channel, and the tone, choice and name commits. The page
// calls these and only redraws; every function marks the document modified when it changed
// a byte, so an edit can never be lost silently at close.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "codeplug/channel_columns.h"
#include "codeplug/codecs.h"
#include "codeplug/radio_image.h"

class CHalvexDoc;

// The transmit frequency column 3 shows: nothing for an empty channel.
std::string ShownTransmitText(const CHalvexDoc& doc, int n);

// An out-of-band entry and the band limit stored in its place, so the user learns what
// happened to it.
struct FrequencyClamp {
    std::string entry;
    std::string stored;
    std::string lowest, highest;  // the band's limits
    bool above = false;
};

// Nothing for an entry inside the band (or an empty one).
std::optional<FrequencyClamp> FrequencyClampOf(std::string_view entry,
                                               const FrequencyLimits& limits);

// Stores offset and shift direction so that channel n transmits on transmit while receiving
// on receive; an empty transmit stores offset = receive, which reads as no transmit.
void UpdateOffset(CHalvexDoc& doc, int n, std::string_view receive, std::string_view transmit);

// An entry in column 1. An empty entry clears the channel; a channel's first frequency
// starts it with transmit = receive (and, in a record never written, with the settings of
// a cleared channel); otherwise the transmit frequency shown is kept. Returns the clamp of
// an out-of-band entry.
std::optional<FrequencyClamp> CommitReceiveFrequency(CHalvexDoc& doc, int n,
                                                     std::string_view entry);

// An entry in column 3, rounded like a receive entry. An empty entry removes the transmit
// frequency and switches the encode tone off. Returns the clamp of an out-of-band entry.
std::optional<FrequencyClamp> CommitTransmitFrequency(CHalvexDoc& doc, int n,
                                                      std::string_view entry);

// The decode tone is column 2, the encode tone column 4.
void CommitTone(CHalvexDoc& doc, int n, RecordSide which, int toneIndex);

// A choice of a choice column; refused for an empty channel, which has no record to change.
void CommitChoice(CHalvexDoc& doc, int n, int column, int selection);

void CommitChannelName(CHalvexDoc& doc, int n, std::string_view text);
