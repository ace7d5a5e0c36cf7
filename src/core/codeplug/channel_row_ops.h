// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-channel operations of the channel table: copy, insert, delete, move, clear and paste.
// A channel travels as everything the image keeps for it: its record, its name and its bit
// of the empty-channel bitmap, so no operation ever splits one channel across two numbers.
// Channels beyond lastChannel (the rows the table may change) are never touched.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/radio_image.h"

struct ChannelSlot {
    std::array<uint8_t, kRecordSize> record{};
    std::array<uint8_t, kChannelNameSize> name{};
    bool emptyBit = true;

    friend bool operator==(const ChannelSlot&, const ChannelSlot&) = default;
};

// What the table's own clear stores: no frequencies, switches off, no name.
ChannelSlot EmptyChannelSlot();
bool IsSlotInUse(const ChannelSlot& slot);

ChannelSlot ReadChannelSlot(const RadioImage& image, int n);
void WriteChannelSlot(RadioImage& image, int n, const ChannelSlot& slot);

// The slots of the given channels, in ascending channel order; numbers outside
// 1..kImageChannelCount are left out.
std::vector<ChannelSlot> CopyChannels(const RadioImage& image, const std::vector<int>& channels);

enum class InsertOutcome {
    Inserted,
    // Nothing changed: channels in use would fall off the end and the caller did not agree.
    WouldDropChannels,
    Refused,  // n outside 1..lastChannel or count below 1
};

// Channels in use among the last count channels up to lastChannel: what inserting count
// empty channels at n would push off the end.
int ChannelsPushedOff(const RadioImage& image, int lastChannel, int n, int count);

// Those channels themselves, ascending.
std::vector<int> PushedOffChannels(const RadioImage& image, int lastChannel, int n, int count);

// The channels of 1..lastChannel whose slots differ between the two images.
std::vector<int> ChangedChannels(const RadioImage& before, const RadioImage& after,
                                 int lastChannel);

// Inserts count empty channels at n; channels n.. move down and the last ones fall off.
InsertOutcome InsertEmptyChannels(RadioImage& image, int lastChannel, int n, int count,
                                  bool dropChannelsInUse);

// Removes the channels; the ones below move up and empty channels fill the end. False, and
// nothing changed, when the list is empty or names a channel outside 1..lastChannel.
bool DeleteChannels(RadioImage& image, int lastChannel, const std::vector<int>& channels);

// Moves each listed channel one place up (towards 1) or down, swapping with its neighbour.
// False, and nothing changed, when one would leave 1..lastChannel or the list is empty.
bool MoveChannels(RadioImage& image, int lastChannel, const std::vector<int>& channels, bool up);

// Empties the channels; false, and nothing changed, as DeleteChannels.
bool ClearChannels(RadioImage& image, int lastChannel, const std::vector<int>& channels);

// Writes the slots to n, n+1, ...; returns how many did not fit before lastChannel (those
// are not written). Returns copied.size() when n is outside 1..lastChannel.
int PasteChannels(RadioImage& image, int lastChannel, int n,
                  const std::vector<ChannelSlot>& copied);

// The slots as the bytes of the clipboard's own format, and back. Decoding fails on anything
// that is not exactly what EncodeChannelSlots wrote.
std::string EncodeChannelSlots(const std::vector<ChannelSlot>& copied);
std::optional<std::vector<ChannelSlot>> DecodeChannelSlots(std::string_view data);

// "3", "3-5" or "3, 5, 7-9": a sorted channel list the way a user reads it.
std::string ChannelListText(const std::vector<int>& channels);

// The language key of a step or note about count channels: one channel is named in the
// singular ("Move Channel 6 Up", not "Move Channels 6 Up").
const char* CountedKey(const char* key, size_t count);
