// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/channel_row_ops.h"

#include <algorithm>
#include <set>

namespace {

constexpr std::array<uint8_t, 5> kClearedSettings = {0x00, 0x00, 0x00, 0x08, 0x00};
constexpr size_t kSettingsOffset = 8;
constexpr size_t kReceiveTopByte = 3;
constexpr uint8_t kLargestBcdByte = 0x99;

// Magic, version and a 16-bit big-endian count, then one fixed-size entry per channel.
constexpr std::string_view kClipboardMagic = "HVXC";
constexpr uint8_t kClipboardVersion = 1;
constexpr size_t kClipboardHeaderSize = 7;
constexpr size_t kSlotSize = kRecordSize + kChannelNameSize + 1;

size_t BitmapByte(int n) {
    return kEmptyChannelBitmapOffset + static_cast<size_t>(n - 1) / 8;
}

uint8_t BitmapMask(int n) {
    return static_cast<uint8_t>(1u << ((n - 1) % 8));
}

int LastUsable(int lastChannel) {
    return std::clamp(lastChannel, 0, kImageChannelCount);
}

// The channels sorted and without repeats, or nothing when one lies outside 1..lastChannel.
std::optional<std::vector<int>> CheckedChannels(const std::vector<int>& channels, int lastChannel) {
    const std::set<int> unique(channels.begin(), channels.end());
    if (unique.empty() || *unique.begin() < 1 || *unique.rbegin() > LastUsable(lastChannel)) {
        return std::nullopt;
    }
    return std::vector<int>(unique.begin(), unique.end());
}

void SwapChannels(RadioImage& image, int a, int b) {
    const ChannelSlot first = ReadChannelSlot(image, a);
    WriteChannelSlot(image, a, ReadChannelSlot(image, b));
    WriteChannelSlot(image, b, first);
}

}  // namespace

ChannelSlot EmptyChannelSlot() {
    ChannelSlot slot;
    slot.record.fill(0xFF);
    std::copy(kClearedSettings.begin(), kClearedSettings.end(),
              slot.record.begin() + kSettingsOffset);
    slot.name.fill(0xFF);
    slot.emptyBit = true;
    return slot;
}

bool IsSlotInUse(const ChannelSlot& slot) {
    return slot.record[kReceiveTopByte] <= kLargestBcdByte;
}

ChannelSlot ReadChannelSlot(const RadioImage& image, int n) {
    if (n < 1 || n > kImageChannelCount) {
        return EmptyChannelSlot();
    }
    ChannelSlot slot;
    slot.record = image.GetRecord(n);
    slot.name = image.GetChannelNameBytes(n);
    slot.emptyBit = (image.bytes[BitmapByte(n)] & BitmapMask(n)) != 0;
    return slot;
}

void WriteChannelSlot(RadioImage& image, int n, const ChannelSlot& slot) {
    if (n < 1 || n > kImageChannelCount) {
        return;
    }
    image.SetRecord(n, slot.record);
    image.SetChannelNameBytes(n, slot.name);
    uint8_t& bitmap = image.bytes[BitmapByte(n)];
    bitmap = slot.emptyBit ? (bitmap | BitmapMask(n)) : (bitmap & ~BitmapMask(n));
}

std::vector<ChannelSlot> CopyChannels(const RadioImage& image, const std::vector<int>& channels) {
    std::vector<ChannelSlot> copied;
    for (int n : std::set<int>(channels.begin(), channels.end())) {
        if (n >= 1 && n <= kImageChannelCount) {
            copied.push_back(ReadChannelSlot(image, n));
        }
    }
    return copied;
}

int ChannelsPushedOff(const RadioImage& image, int lastChannel, int n, int count) {
    return static_cast<int>(PushedOffChannels(image, lastChannel, n, count).size());
}

std::vector<int> PushedOffChannels(const RadioImage& image, int lastChannel, int n, int count) {
    const int last = LastUsable(lastChannel);
    std::vector<int> pushed;
    for (int channel = std::max(n, last - count + 1); channel <= last; ++channel) {
        if (channel >= 1 && !image.IsChannelEmpty(channel)) {
            pushed.push_back(channel);
        }
    }
    return pushed;
}

std::vector<int> ChangedChannels(const RadioImage& before, const RadioImage& after,
                                 int lastChannel) {
    std::vector<int> changed;
    for (int n = 1; n <= LastUsable(lastChannel); ++n) {
        if (!(ReadChannelSlot(before, n) == ReadChannelSlot(after, n))) {
            changed.push_back(n);
        }
    }
    return changed;
}

InsertOutcome InsertEmptyChannels(RadioImage& image, int lastChannel, int n, int count,
                                  bool dropChannelsInUse) {
    const int last = LastUsable(lastChannel);
    if (n < 1 || n > last || count < 1) {
        return InsertOutcome::Refused;
    }
    count = std::min(count, last - n + 1);
    if (!dropChannelsInUse && ChannelsPushedOff(image, last, n, count) > 0) {
        return InsertOutcome::WouldDropChannels;
    }
    for (int channel = last; channel >= n + count; --channel) {
        WriteChannelSlot(image, channel, ReadChannelSlot(image, channel - count));
    }
    for (int channel = n; channel < n + count; ++channel) {
        WriteChannelSlot(image, channel, EmptyChannelSlot());
    }
    return InsertOutcome::Inserted;
}

bool DeleteChannels(RadioImage& image, int lastChannel, const std::vector<int>& channels) {
    const auto removed = CheckedChannels(channels, lastChannel);
    if (!removed) {
        return false;
    }
    const int last = LastUsable(lastChannel);
    const int first = removed->front();
    std::vector<ChannelSlot> kept;
    for (int channel = first; channel <= last; ++channel) {
        if (!std::binary_search(removed->begin(), removed->end(), channel)) {
            kept.push_back(ReadChannelSlot(image, channel));
        }
    }
    kept.resize(static_cast<size_t>(last - first + 1), EmptyChannelSlot());
    for (int channel = first; channel <= last; ++channel) {
        WriteChannelSlot(image, channel, kept[static_cast<size_t>(channel - first)]);
    }
    return true;
}

bool MoveChannels(RadioImage& image, int lastChannel, const std::vector<int>& channels, bool up) {
    auto moved = CheckedChannels(channels, lastChannel);
    if (!moved || (up && moved->front() == 1) ||
        (!up && moved->back() == LastUsable(lastChannel))) {
        return false;
    }
    // Swapping in the direction of travel carries a block along one step at a time.
    if (up) {
        for (int channel : *moved) {
            SwapChannels(image, channel - 1, channel);
        }
    } else {
        for (auto channel = moved->rbegin(); channel != moved->rend(); ++channel) {
            SwapChannels(image, *channel, *channel + 1);
        }
    }
    return true;
}

bool ClearChannels(RadioImage& image, int lastChannel, const std::vector<int>& channels) {
    const auto cleared = CheckedChannels(channels, lastChannel);
    if (!cleared) {
        return false;
    }
    for (int channel : *cleared) {
        WriteChannelSlot(image, channel, EmptyChannelSlot());
    }
    return true;
}

int PasteChannels(RadioImage& image, int lastChannel, int n,
                  const std::vector<ChannelSlot>& copied) {
    const int last = LastUsable(lastChannel);
    if (n < 1 || n > last) {
        return static_cast<int>(copied.size());
    }
    const size_t room = static_cast<size_t>(last - n + 1);
    const size_t written = std::min(room, copied.size());
    for (size_t index = 0; index < written; ++index) {
        WriteChannelSlot(image, n + static_cast<int>(index), copied[index]);
    }
    return static_cast<int>(copied.size() - written);
}

std::string EncodeChannelSlots(const std::vector<ChannelSlot>& copied) {
    std::string data(kClipboardMagic);
    data.push_back(static_cast<char>(kClipboardVersion));
    data.push_back(static_cast<char>((copied.size() >> 8) & 0xFF));
    data.push_back(static_cast<char>(copied.size() & 0xFF));
    for (const ChannelSlot& slot : copied) {
        data.append(slot.record.begin(), slot.record.end());
        data.append(slot.name.begin(), slot.name.end());
        data.push_back(slot.emptyBit ? 1 : 0);
    }
    return data;
}

std::optional<std::vector<ChannelSlot>> DecodeChannelSlots(std::string_view data) {
    if (data.size() < kClipboardHeaderSize || !data.starts_with(kClipboardMagic) ||
        static_cast<uint8_t>(data[4]) != kClipboardVersion) {
        return std::nullopt;
    }
    const size_t count =
        static_cast<size_t>(static_cast<uint8_t>(data[5])) << 8 | static_cast<uint8_t>(data[6]);
    if (count == 0 || data.size() != kClipboardHeaderSize + count * kSlotSize) {
        return std::nullopt;
    }
    std::vector<ChannelSlot> copied(count);
    const auto* entry = reinterpret_cast<const uint8_t*>(data.data()) + kClipboardHeaderSize;
    for (ChannelSlot& slot : copied) {
        std::copy(entry, entry + kRecordSize, slot.record.begin());
        std::copy(entry + kRecordSize, entry + kRecordSize + kChannelNameSize, slot.name.begin());
        const uint8_t bit = entry[kRecordSize + kChannelNameSize];
        if (bit > 1) {
            return std::nullopt;
        }
        slot.emptyBit = bit == 1;
        entry += kSlotSize;
    }
    return copied;
}

std::string ChannelListText(const std::vector<int>& channels) {
    const std::set<int> sorted(channels.begin(), channels.end());
    std::string text;
    for (auto it = sorted.begin(); it != sorted.end();) {
        const int first = *it;
        int last = first;
        while (++it != sorted.end() && *it == last + 1) {
            ++last;
        }
        if (!text.empty()) {
            text += ", ";
        }
        text += std::to_string(first);
        if (last != first) {
            text += '-';
            text += std::to_string(last);
        }
    }
    return text;
}

const char* CountedKey(const char* key, size_t count) {
    static constexpr std::pair<std::string_view, const char*> kSingular[] = {
        {"IDS_EDIT_CUT_CHANNELS", "IDS_EDIT_CUT_CHANNEL"},
        {"IDS_EDIT_PASTE_CHANNELS", "IDS_EDIT_PASTE_CHANNEL"},
        {"IDS_EDIT_INSERT_CHANNELS", "IDS_EDIT_INSERT_CHANNEL"},
        {"IDS_EDIT_DELETE_CHANNELS", "IDS_EDIT_DELETE_CHANNEL"},
        {"IDS_EDIT_MOVE_UP", "IDS_EDIT_MOVE_UP_CHANNEL"},
        {"IDS_EDIT_MOVE_DOWN", "IDS_EDIT_MOVE_DOWN_CHANNEL"},
        {"IDS_EDIT_CLEAR_CHANNELS", "IDS_EDIT_CLEAR_CHANNEL"},
        {"IDS_INSERT_DROPS_CHANNELS", "IDS_INSERT_DROPS_CHANNEL"},
        {"IDS_CHANNELS_COPIED", "IDS_CHANNEL_COPIED"},
        {"IDS_CHANNELS_TEXT_LEAVES_OUT", "IDS_CHANNELS_TEXT_LEAVES_OUT_ONE"},
    };
    if (count == 1) {
        for (const auto& [plural, singular] : kSingular) {
            if (plural == key) {
                return singular;
            }
        }
    }
    return key;
}
