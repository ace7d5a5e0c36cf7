// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/changed_place.h"

#include <algorithm>

#include "editors/channel_commit.h"

namespace {

RadioImage WithRuns(const RadioImage& current, const std::vector<ByteRun>& runs, bool after) {
    RadioImage image = current;
    for (const ByteRun& run : runs) {
        const std::vector<uint8_t>& values = after ? run.after : run.before;
        if (run.offset + values.size() <= kImageSize) {
            std::copy(values.begin(), values.end(),
                      image.bytes.begin() + static_cast<ptrdiff_t>(run.offset));
        }
    }
    return image;
}

bool ColumnDiffers(const RadioImage& a, const RadioImage& b, int n, int column) {
    switch (column) {
        case kColumnReceive:
            return a.IsChannelEmpty(n) != b.IsChannelEmpty(n) ||
                   a.GetFrequencyText(n, kDecodeSide) != b.GetFrequencyText(n, kDecodeSide);
        case kColumnDecode:
            return a.GetTone(n, kDecodeSide) != b.GetTone(n, kDecodeSide);
        case kColumnTransmit:
            return a.GetFrequencyText(n, kEncodeSide) != b.GetFrequencyText(n, kEncodeSide) ||
                   a.GetShiftDirection(n) != b.GetShiftDirection(n);
        case kColumnEncode:
            return a.GetTone(n, kEncodeSide) != b.GetTone(n, kEncodeSide);
        case kColumnName:
            return a.GetChannelNameBytes(n) != b.GetChannelNameBytes(n);
        default:
            return ChoiceValue(a, n, column) != ChoiceValue(b, n, column);
    }
}

bool Touches(const std::vector<ByteRun>& runs, size_t from, size_t end) {
    return std::any_of(runs.begin(), runs.end(), [from, end](const ByteRun& run) {
        return run.offset < end && run.offset + run.after.size() > from;
    });
}

}  // namespace

ChangedPlace FindChangedPlace(const RadioImage& current, const std::vector<ByteRun>& runs,
                              int channelCount) {
    const RadioImage before = WithRuns(current, runs, false);
    const RadioImage after = WithRuns(current, runs, true);
    for (int n = 1; n <= std::min(channelCount, kImageChannelCount); ++n) {
        for (int column = kColumnReceive; column < kChannelColumnCount; ++column) {
            if (ColumnDiffers(before, after, n, column)) {
                return {ChangedPlace::Page::Channels, n, column};
            }
        }
    }
    if (Touches(runs, kBandWordOffset, kTestDataOffset)) {
        return {ChangedPlace::Page::Channels, 0, 0};
    }
    if (Touches(runs, kVfoF2Offset, kVfoF1Offset + kRecordSize)) {
        return {ChangedPlace::Page::Vfo, 0, 0};
    }
    if (Touches(runs, kOptionBase, kFirstFmPresetOffset) ||
        Touches(runs, kPttIdCodeOffset, kPttIdCodeOffset + kPttIdCodeSize)) {
        return {ChangedPlace::Page::Functions, 0, 0};
    }
    return {};
}
