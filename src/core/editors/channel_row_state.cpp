// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_row_state.h"

#include "config/setting_definitions.h"

namespace {

constexpr int kFirstLimitedChannel = 100;

}  // namespace

ChannelTableSettings ReadChannelTableSettings(const std::string& settingsPath, int channelCount) {
    ChannelTableSettings settings;
    settings.companderOff = !settings::kCompander.Read(settingsPath);
    settings.channelLimit = !settings::kHighChannels.Read(settingsPath);
    settings.channelCount = channelCount;
    return settings;
}

int LastEditableChannel(const ChannelTableSettings& settings) {
    return settings.channelLimit && settings.channelCount >= kFirstLimitedChannel
               ? kFirstLimitedChannel - 1
               : settings.channelCount;
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
