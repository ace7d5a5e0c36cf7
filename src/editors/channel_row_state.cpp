// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_row_state.h"

#include "codeplug/document.h"
#include "config/setting_definitions.h"

namespace {

constexpr int kFirstLimitedChannel = 100;
std::string ItemText(const std::vector<std::string>& items, int index) {
    return index >= 0 && static_cast<size_t>(index) < items.size()
               ? items[static_cast<size_t>(index)]
               : std::string();
}

}  // namespace

ChannelTableSettings ReadChannelTableSettings(const std::string& settingsPath, int channelCount) {
    ChannelTableSettings settings;
    settings.companderOff = !settings::kCompander.Read(settingsPath);
    settings.channelLimit = !settings::kHighChannels.Read(settingsPath);
    settings.channelCount = channelCount;
    return settings;
}

ChannelRowState ChannelRowLocks(const RadioImage& image, int n,
                                const ChannelTableSettings& settings) {
    ChannelRowState state{};
    const bool empty = image.IsChannelEmpty(n);
    for (int column = kColumnReceive; column < kChannelColumnCount; ++column) {
        state[column].locked = empty && column != kColumnReceive;
    }
    state[kColumnEncode].locked = empty || image.IsTxAbsent(n);
    if (settings.companderOff) {
        state[kColumnCompander] = {true, true};
    } else {
        // An empty channel has no record to switch the compander of.
        state[kColumnCompander] = {empty, false};
    }
    if (settings.channelLimit && settings.channelCount >= kFirstLimitedChannel &&
        n >= kFirstLimitedChannel) {
        for (int column = kColumnReceive; column < kChannelColumnCount; ++column) {
            state[column] = {true, true};
        }
    }
    return state;
}

const std::vector<const char*>& ChoiceKeys(int column) {
    static const std::vector<const char*> kNone;
    static const std::vector<const char*> kPower = {"IDS_LOW", "IDS_HIGH"};
    static const std::vector<const char*> kSwitch = {"IDS_OFF", "IDS_ON"};
    static const std::vector<const char*> kBandwidth = {"IDS_WIDE", "IDS_NARROW", "IDS_MIDDLE"};
    switch (column) {
        case kColumnPower:
            return kPower;
        case kColumnBandwidth:
            return kBandwidth;
        case kColumnBcl:
        case kColumnScanAdd:
        case kColumnReverse:
        case kColumnPttId:
        case kColumnCompander:
            return kSwitch;
        default:
            return kNone;
    }
}

std::array<std::string, kChannelColumnCount> ChannelRowTexts(const CHalvexDoc& doc, int n,
                                                             const ChannelCellTexts& texts) {
    std::array<std::string, kChannelColumnCount> cells;
    if (doc.IsChannelEmpty(n)) {
        return cells;
    }
    cells[kColumnReceive] = doc.GetFrequencyText(n, kDecodeSide);
    cells[kColumnDecode] = ItemText(texts.tones, doc.GetTone(n, kDecodeSide));
    cells[kColumnTransmit] = ShownTransmitText(doc, n);
    if (!doc.IsTxAbsent(n)) {
        cells[kColumnEncode] = ItemText(texts.tones, doc.GetTone(n, kEncodeSide));
    }
    for (int column = kColumnPower; column <= kColumnCompander; ++column) {
        cells[column] = ItemText(texts.choices[column], ChoiceValue(doc, n, column));
    }
    const std::array<uint8_t, kChannelNameSize> name = doc.GetChannelNameBytes(n);
    cells[kColumnName] = DecodeChannelName(name.data());
    return cells;
}
