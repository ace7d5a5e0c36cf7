// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/channel_sort.h"

#include <algorithm>
#include <set>
#include <string>

#include "codeplug/channel_row_ops.h"

namespace {

struct SortEntry {
    int from = 0;
    ChannelSlot slot;
    int32_t receive = 0;
    std::string name;
};

// Negative when a goes before b in ascending order.
int Compare(const SortEntry& a, const SortEntry& b, ChannelSortKey key) {
    switch (key) {
        case ChannelSortKey::Receive:
            return a.receive < b.receive ? -1 : (a.receive > b.receive ? 1 : 0);
        case ChannelSortKey::Name:
            return a.name.compare(b.name);
        case ChannelSortKey::Number:
            break;
    }
    return a.from - b.from;
}

}  // namespace

std::vector<int> SortChannels(RadioImage& image, int lastChannel, const std::vector<int>& channels,
                              ChannelSortOrder order) {
    const int last = std::clamp(lastChannel, 0, kImageChannelCount);
    std::set<int> places;
    for (int n : channels) {
        if (n >= 1 && n <= last) {
            places.insert(n);
        }
    }
    std::vector<SortEntry> used;
    std::vector<SortEntry> empty;
    for (int n : places) {
        SortEntry entry{n, ReadChannelSlot(image, n), 0, {}};
        if (!IsSlotInUse(entry.slot)) {
            empty.push_back(std::move(entry));
            continue;
        }
        entry.receive = FrequencyTextToValue(BcdToFrequencyText(entry.slot.record.data()));
        entry.name = DecodeChannelName(entry.slot.name.data());
        used.push_back(std::move(entry));
    }
    std::stable_sort(used.begin(), used.end(), [order](const SortEntry& a, const SortEntry& b) {
        if (order.key == ChannelSortKey::Name && a.name.empty() != b.name.empty()) {
            return b.name.empty();
        }
        const int result = Compare(a, b, order.key);
        return order.descending ? result > 0 : result < 0;
    });
    used.insert(used.end(), empty.begin(), empty.end());
    std::vector<int> changed;
    auto entry = used.begin();
    for (int n : places) {
        if (entry->from != n) {
            WriteChannelSlot(image, n, entry->slot);
            changed.push_back(n);
        }
        ++entry;
    }
    return changed;
}
