// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_commit.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

#include "codeplug/document.h"

namespace {

constexpr std::array<uint8_t, kChannelNameSize> kEmptyName = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr const char* kZeroOffset = "000.00000";

bool IsChannel(int n) {
    return n >= 1 && n <= kImageChannelCount;
}

bool SameText(std::string_view left, std::string_view right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

// The record and name of channel n, to tell whether a commit changed anything.
struct ChannelSnapshot {
    std::array<uint8_t, kRecordSize> record{};
    std::array<uint8_t, kChannelNameSize> name{};

    ChannelSnapshot(const CHalvexDoc& doc, int n)
        : record(doc.Image().GetRecord(n)), name(doc.Image().GetChannelNameBytes(n)) {}
    friend bool operator==(const ChannelSnapshot&, const ChannelSnapshot&) = default;
};

void MarkIfChanged(CHalvexDoc& doc, int n, const ChannelSnapshot& before) {
    if (!(ChannelSnapshot(doc, n) == before)) {
        doc.SetModifiedFlag();
    }
}

void ClearChannel(CHalvexDoc& doc, int n) {
    doc.SetFrequencyText(n, kEncodeSide, "");
    doc.EditImage().ClearRecordSettings(n);
    doc.EditImage().SetChannelNameBytes(n, kEmptyName);
}

}  // namespace

std::string ShownTransmitText(const CHalvexDoc& doc, int n) {
    return doc.Image().IsChannelEmpty(n) ? std::string() : doc.GetTransmitText(n);
}

std::optional<FrequencyClamp> FrequencyClampOf(std::string_view entry,
                                               const FrequencyLimits& limits) {
    const int side = CheckFrequencyRange(entry, limits);
    if (side == 0) {
        return std::nullopt;
    }
    return FrequencyClamp{std::string(entry), FormatFrequencyLimit(side, limits),
                          FormatFrequencyValue(limits.m_FreqMin),
                          FormatFrequencyValue(limits.m_FreqMax), side > 0};
}

void UpdateOffset(CHalvexDoc& doc, int n, std::string_view receive, std::string_view transmit) {
    const int32_t receiveValue = FrequencyTextToValue(receive);
    const int32_t transmitValue = FrequencyTextToValue(transmit);
    std::string offset = kZeroOffset;
    ShiftDirection direction = kShiftNone;
    if (transmitValue < receiveValue) {
        direction = kShiftMinus;
        offset = FormatFrequencyValue(receiveValue - transmitValue);
    } else if (receiveValue < transmitValue) {
        direction = kShiftPlus;
        offset = FormatFrequencyValue(transmitValue - receiveValue);
    }
    if (receive.empty() && transmit.empty()) {
        offset.clear();
        direction = kShiftNone;
    }
    doc.EditImage().SetShiftDirection(n, direction);
    doc.SetFrequencyText(n, kEncodeSide, offset);
}

std::optional<FrequencyClamp> CommitReceiveFrequency(CHalvexDoc& doc, int n,
                                                     std::string_view entry) {
    if (!IsChannel(n)) {
        return std::nullopt;
    }
    const ChannelSnapshot before(doc, n);
    // A channel receiving its first frequency starts with transmit = receive, also when an
    // offset left behind in an empty record would otherwise leave it without transmit.
    const bool firstFrequency = doc.Image().IsOffsetEmpty(n) || doc.Image().IsChannelEmpty(n);
    const bool settingsNeverWritten = doc.Image().AreRecordSettingsUnwritten(n);
    const std::string shownTransmit = ShownTransmitText(doc, n);
    const std::optional<FrequencyClamp> clamp = FrequencyClampOf(entry, doc.GetFrequencyLimits());
    const std::string clamped = clamp ? clamp->stored : std::string(entry);
    if (!SameText(clamped, doc.Image().GetFrequencyText(n, kDecodeSide))) {
        doc.SetModifiedFlag();
    }
    doc.SetFrequencyText(n, kDecodeSide, clamped);
    const std::string receive = doc.Image().GetFrequencyText(n, kDecodeSide);
    UpdateOffset(doc, n, receive, receive.empty() ? std::string() : shownTransmit);
    if (clamped.empty()) {
        ClearChannel(doc, n);
    }
    if (firstFrequency) {
        if (!clamped.empty() && settingsNeverWritten) {
            doc.EditImage().ClearRecordSettings(n);
        }
        doc.SetFrequencyText(n, kDecodeSide, receive);
        doc.SetFrequencyText(n, kEncodeSide, kZeroOffset);
        UpdateOffset(doc, n, receive, receive);
    }
    MarkIfChanged(doc, n, before);
    return clamp;
}

std::optional<FrequencyClamp> CommitTransmitFrequency(CHalvexDoc& doc, int n,
                                                      std::string_view entry) {
    if (!IsChannel(n)) {
        return std::nullopt;
    }
    const ChannelSnapshot before(doc, n);
    const std::optional<FrequencyClamp> clamp = FrequencyClampOf(entry, doc.GetFrequencyLimits());
    const std::string clamped = clamp ? clamp->stored : std::string(entry);
    const std::string receive = doc.Image().GetFrequencyText(n, kDecodeSide);
    // The transmit entry is rounded exactly like a receive entry by storing it there for a
    // moment; the receive bytes go back untouched, so an off-raster receive frequency read
    // from the radio is not rounded by an edit of another column.
    const std::array<uint8_t, 4> keptReceive = doc.Image().GetFrequencyField(n, kDecodeSide);
    doc.SetFrequencyText(n, kDecodeSide, clamped);
    const std::string transmit = doc.Image().GetFrequencyText(n, kDecodeSide);
    doc.EditImage().SetFrequencyField(n, kDecodeSide, keptReceive);
    UpdateOffset(doc, n, receive, transmit);
    if (clamped.empty()) {
        doc.EditImage().SetTone(n, kEncodeSide, 0);
    }
    MarkIfChanged(doc, n, before);
    return clamp;
}

void CommitTone(CHalvexDoc& doc, int n, RecordSide which, int toneIndex) {
    if (!IsChannel(n)) {
        return;
    }
    doc.EditImage().SetTone(n, which, toneIndex);
    doc.SetModifiedFlag();
}

void CommitChoice(CHalvexDoc& doc, int n, int column, int selection) {
    if (!IsChannel(n) || doc.Image().IsChannelEmpty(n) || column < 0 ||
        column >= kChannelColumnCount ||
        kChannelColumns[static_cast<size_t>(column)].kind != ColumnKind::Choice) {
        return;
    }
    const ChannelSnapshot before(doc, n);
    kChannelColumns[static_cast<size_t>(column)].store(doc.EditImage(), n, selection);
    MarkIfChanged(doc, n, before);
}

void CommitChannelName(CHalvexDoc& doc, int n, std::string_view text) {
    if (!IsChannel(n)) {
        return;
    }
    std::array<uint8_t, kChannelNameSize> name = EncodeChannelName(text);
    if (name != doc.Image().GetChannelNameBytes(n)) {
        doc.EditImage().SetChannelNameBytes(n, name);
        doc.SetModifiedFlag();
    }
}
