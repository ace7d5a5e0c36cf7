// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_bulk_edit.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "codeplug/channel_row_ops.h"
#include "codeplug/document.h"
#include "editors/channel_commit.h"

namespace {

constexpr size_t kMaxWholeDigits = 6;

bool InBand(int64_t value, const FrequencyLimits& limits) {
    return value > 0 && value <= kMaxFrequencyValue &&
           CheckFrequencyRange(FormatFrequencyValue(static_cast<int32_t>(value)), limits) == 0;
}

std::set<int> Listed(const std::vector<int>& channels) {
    std::set<int> listed;
    for (int n : channels) {
        if (n >= 1 && n <= kImageChannelCount) {
            listed.insert(n);
        }
    }
    return listed;
}

void Store(CHalvexDoc& doc, int n, const ColumnSetting& setting) {
    const ChannelColumnDefinition& column = kChannelColumns[static_cast<size_t>(setting.column)];
    if (column.kind == ColumnKind::Tone) {
        CommitTone(doc, n, column.side, setting.index);
    } else if (column.kind == ColumnKind::Choice) {
        CommitChoice(doc, n, setting.column, setting.index);
    } else {
        const int32_t receive = FrequencyTextToValue(doc.Image().GetFrequencyText(n, kDecodeSide));
        CommitTransmitFrequency(
            doc, n, setting.offset ? FormatFrequencyValue(receive + *setting.offset) : "");
    }
}

}  // namespace

std::optional<int32_t> ParseFrequencyAmount(std::string_view text, bool kilohertz) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? "" : text.substr(dot + 1);
    const auto digitsOnly = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.size() + fraction.size() == 0 || whole.size() > kMaxWholeDigits ||
        !digitsOnly(whole) || !digitsOnly(fraction)) {
        return std::nullopt;
    }
    // 10 Hz steps: five places of megahertz, two of kilohertz; finer digits are dropped.
    const int places = kilohertz ? 2 : 5;
    int64_t value = 0;
    for (char c : whole) {
        value = value * 10 + (c - '0');
    }
    for (int place = 0; place < places; ++place) {
        const size_t index = static_cast<size_t>(place);
        value = value * 10 + (index < fraction.size() ? fraction[index] - '0' : 0);
    }
    if (value > kMaxFrequencyValue) {
        return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

bool CanSetColumn(int column) {
    if (column <= kColumnNumber || column >= kChannelColumnCount) {
        return false;
    }
    const ColumnKind kind = kChannelColumns[static_cast<size_t>(column)].kind;
    return kind == ColumnKind::Tone || kind == ColumnKind::Choice || column == kColumnTransmit;
}

BulkEditReport SetColumnForChannels(CHalvexDoc& doc, const std::vector<int>& channels,
                                    const ColumnSetting& setting,
                                    const ChannelTableSettings& table) {
    BulkEditReport report;
    if (!CanSetColumn(setting.column)) {
        return report;
    }
    for (int n : Listed(channels)) {
        const ChannelRowState locks = ChannelRowLocks(doc.Image(), n, table);
        if (doc.Image().IsChannelEmpty(n)) {
            report.emptySkipped.push_back(n);
            continue;
        }
        if (locks[setting.column].locked) {
            report.lockedSkipped.push_back(n);
            continue;
        }
        if (setting.column == kColumnTransmit && setting.offset) {
            const int64_t receive =
                FrequencyTextToValue(doc.Image().GetFrequencyText(n, kDecodeSide));
            if (!InBand(receive + *setting.offset, doc.GetFrequencyLimits())) {
                report.outOfBand.push_back(n);
                continue;
            }
        }
        const ChannelSlot before = ReadChannelSlot(doc.Image(), n);
        Store(doc, n, setting);
        (ReadChannelSlot(doc.Image(), n) == before ? report.unchanged : report.changed)
            .push_back(n);
    }
    return report;
}

std::vector<int> FindChannels(const CHalvexDoc& doc, int count, std::string_view text) {
    std::vector<int> found;
    if (text.empty()) {
        return found;
    }
    const auto holds = [text](const std::string& shown) {
        return std::search(shown.begin(), shown.end(), text.begin(), text.end(),
                           [](char a, char b) {
                               return std::toupper(static_cast<unsigned char>(a)) ==
                                      std::toupper(static_cast<unsigned char>(b));
                           }) != shown.end();
    };
    for (int n = 1; n <= std::min(count, kImageChannelCount); ++n) {
        if (!doc.Image().IsChannelEmpty(n) &&
            (holds(DecodeChannelName(doc.Image().GetChannelNameBytes(n).data())) ||
             holds(doc.Image().GetFrequencyText(n, kDecodeSide)) ||
             holds(ShownTransmitText(doc, n)))) {
            found.push_back(n);
        }
    }
    return found;
}

BulkEditReport FillFrequencies(CHalvexDoc& doc, const std::vector<int>& channels, int32_t first,
                               int32_t step, int32_t shift, const ChannelTableSettings& table) {
    BulkEditReport report;
    int64_t receive = first;
    for (int n : Listed(channels)) {
        const int64_t transmit = receive + shift;
        const int64_t thisReceive = receive;
        receive += step;
        if (ChannelRowLocks(doc.Image(), n, table)[kColumnReceive].locked) {
            report.lockedSkipped.push_back(n);
            continue;
        }
        if (!InBand(thisReceive, doc.GetFrequencyLimits()) ||
            !InBand(transmit, doc.GetFrequencyLimits())) {
            report.outOfBand.push_back(n);
            continue;
        }
        const ChannelSlot before = ReadChannelSlot(doc.Image(), n);
        CommitReceiveFrequency(doc, n, FormatFrequencyValue(static_cast<int32_t>(thisReceive)));
        CommitTransmitFrequency(doc, n, FormatFrequencyValue(static_cast<int32_t>(transmit)));
        (ReadChannelSlot(doc.Image(), n) == before ? report.unchanged : report.changed)
            .push_back(n);
    }
    return report;
}
