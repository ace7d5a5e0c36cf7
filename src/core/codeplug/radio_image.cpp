// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/radio_image.h"

#include <algorithm>
#include <optional>

namespace {

constexpr size_t kReceiveField = 0;
constexpr size_t kOffsetField = 4;
constexpr size_t kFlagsByte = 8;
constexpr size_t kDecodeToneByte = 9;
constexpr size_t kEncodeToneByte = 10;
constexpr size_t kSwitchesByte = 11;
constexpr size_t kStepByte = 12;
constexpr size_t kSettingsField = kFlagsByte;
constexpr size_t kFrequencyFieldSize = 4;

constexpr std::array<uint8_t, kRecordSettingsSize> kNewChannelSettings = {0x00, 0x00, 0x00, 0x08,
                                                                          0x00};
constexpr std::array<uint8_t, kRecordSettingsSize> kNewVfoSettings = {0x00, 0x00, 0x00, 0x48, 0x00};

constexpr int kCompanderBit = 3;
constexpr int kDecodePolarityBit = 4;
constexpr int kEncodePolarityBit = 5;
constexpr int kMiddleBandwidthBit = 6;
constexpr int kReverseBit = 2;
constexpr int kPowerHighBit = 3;
constexpr int kBclBit = 4;
constexpr int kNarrowBandwidthBit = 5;
constexpr int kScanAddBit = 6;
constexpr int kPttIdBit = 7;

constexpr int kStepCount = 6;
constexpr int kBandwidthMiddle = 2;

// What every getter reads for a refused record index: the record of a blank image.
constexpr std::array<uint8_t, kRecordSize> kBlankRecord = [] {
    std::array<uint8_t, kRecordSize> record{};
    record.fill(0xFF);
    return record;
}();

bool HasBit(uint8_t byte, int bit) {
    return (byte >> bit & 1) != 0;
}

uint8_t WithBit(uint8_t byte, int bit, bool on) {
    const auto mask = static_cast<uint8_t>(1u << bit);
    return on ? static_cast<uint8_t>(byte | mask) : static_cast<uint8_t>(byte & ~mask);
}

bool IsFrequencyEmpty(const uint8_t* field) {
    return field[3] > 0x99;
}

}  // namespace

RadioImage::RadioImage() {
    bytes.fill(0xFF);
}

// The image holds 128 channel records whatever the configured channel count is, so any
// other index would address past them.
std::optional<size_t> RadioImage::RecordOffset(int i) {
    if (i == kVfoF1) {
        return kVfoF1Offset;
    }
    if (i == kVfoF2) {
        return kVfoF2Offset;
    }
    if (i >= 1 && i <= kImageChannelCount) {
        return kChannelRecordBase + kRecordSize * static_cast<size_t>(i);
    }
    return std::nullopt;
}

std::optional<size_t> RadioImage::ChannelNameOffset(int n) {
    if (n >= 1 && n <= kImageChannelCount) {
        return kChannelNameBase + kChannelNameSize * static_cast<size_t>(n - 1);
    }
    return std::nullopt;
}

std::optional<int> RadioImage::ChannelAt(size_t offset) {
    const size_t firstRecord = kChannelRecordBase + kRecordSize;
    if (offset >= firstRecord && offset < firstRecord + kRecordSize * kImageChannelCount) {
        return 1 + static_cast<int>((offset - firstRecord) / kRecordSize);
    }
    if (offset >= kChannelNameBase &&
        offset < kChannelNameBase + kChannelNameSize * kImageChannelCount) {
        return 1 + static_cast<int>((offset - kChannelNameBase) / kChannelNameSize);
    }
    return std::nullopt;
}

std::array<uint8_t, kRecordSize> RadioImage::GetRecord(int i) const {
    std::array<uint8_t, kRecordSize> record{};
    std::copy_n(RecordBytes(i), kRecordSize, record.begin());
    return record;
}

void RadioImage::SetRecord(int i, const std::array<uint8_t, kRecordSize>& record) {
    if (uint8_t* stored = MutableRecord(i)) {
        std::copy(record.begin(), record.end(), stored);
    }
}

std::array<uint8_t, 4> RadioImage::GetFrequencyField(int i, RecordSide which) const {
    std::array<uint8_t, kFrequencyFieldSize> field{};
    std::copy_n(RecordBytes(i) + (which == kDecodeSide ? kReceiveField : kOffsetField),
                kFrequencyFieldSize, field.begin());
    return field;
}

void RadioImage::SetFrequencyField(int i, RecordSide which, const std::array<uint8_t, 4>& field) {
    if (uint8_t* record = MutableRecord(i)) {
        std::copy(field.begin(), field.end(),
                  record + (which == kDecodeSide ? kReceiveField : kOffsetField));
    }
}

void RadioImage::SetRecordSettings(int i,
                                   const std::array<uint8_t, kRecordSettingsSize>& settings) {
    if (uint8_t* record = MutableRecord(i)) {
        std::copy(settings.begin(), settings.end(), record + kSettingsField);
    }
}

void RadioImage::ClearRecordSettings(int i) {
    SetRecordSettings(i, i == kVfoF1 || i == kVfoF2 ? kNewVfoSettings : kNewChannelSettings);
}

bool RadioImage::AreRecordSettingsUnwritten(int i) const {
    const uint8_t* settings = RecordBytes(i) + kSettingsField;
    return std::all_of(settings, settings + kRecordSettingsSize,
                       [](uint8_t byte) { return byte == 0xFF; });
}

const uint8_t* RadioImage::RecordBytes(int i) const {
    const std::optional<size_t> offset = RecordOffset(i);
    return offset ? bytes.data() + *offset : kBlankRecord.data();
}

uint8_t* RadioImage::MutableRecord(int i) {
    const std::optional<size_t> offset = RecordOffset(i);
    return offset ? bytes.data() + *offset : nullptr;
}

bool RadioImage::IsChannelEmpty(int n) const {
    return IsFrequencyEmpty(RecordBytes(n) + kReceiveField);
}

bool RadioImage::IsTxAbsent(int n) const {
    const uint8_t* record = RecordBytes(n);
    return IsFrequencyEmpty(record + kReceiveField) ||
           std::equal(record + kReceiveField, record + kReceiveField + 4, record + kOffsetField);
}

bool RadioImage::IsOffsetEmpty(int i) const {
    return IsFrequencyEmpty(RecordBytes(i) + kOffsetField);
}

std::string RadioImage::GetFrequencyText(int i, RecordSide which) const {
    return BcdToFrequencyText(RecordBytes(i) +
                              (which == kDecodeSide ? kReceiveField : kOffsetField));
}

// The receive frequency is kept on the channel raster; an offset is a distance and is not.
void RadioImage::SetFrequencyText(int i, RecordSide which, std::string_view text,
                                  const FrequencyLimits& limits) {
    uint8_t* record = MutableRecord(i);
    if (record == nullptr) {
        return;
    }
    const bool receive = which == kDecodeSide;
    const std::array<uint8_t, 4> packed = FrequencyTextToBcd(text, receive, limits);
    std::copy(packed.begin(), packed.end(), record + (receive ? kReceiveField : kOffsetField));
}

int RadioImage::GetTone(int i, RecordSide which) const {
    const uint8_t* record = RecordBytes(i);
    if (which == kDecodeSide) {
        return DecodeTone(record[kDecodeToneByte], HasBit(record[kFlagsByte], kDecodePolarityBit));
    }
    return DecodeTone(record[kEncodeToneByte], HasBit(record[kFlagsByte], kEncodePolarityBit));
}

void RadioImage::SetTone(int i, RecordSide which, int tone) {
    uint8_t* record = MutableRecord(i);
    if (record == nullptr) {
        return;
    }
    const ToneByte stored = EncodeTone(tone);
    const bool decode = which == kDecodeSide;
    record[decode ? kDecodeToneByte : kEncodeToneByte] = stored.code;
    record[kFlagsByte] = WithBit(record[kFlagsByte],
                                 decode ? kDecodePolarityBit : kEncodePolarityBit, stored.inverted);
}

ShiftDirection RadioImage::GetShiftDirection(int i) const {
    const int direction = RecordBytes(i)[kSwitchesByte] & 0x03;
    return direction == 3 ? kShiftNone : static_cast<ShiftDirection>(direction);
}

void RadioImage::SetShiftDirection(int i, ShiftDirection value) {
    if (uint8_t* record = MutableRecord(i)) {
        record[kSwitchesByte] =
            static_cast<uint8_t>((record[kSwitchesByte] & ~0x03) | (value & 0x03));
    }
}

bool RadioImage::GetReverse(int i) const {
    return HasBit(RecordBytes(i)[kSwitchesByte], kReverseBit);
}

void RadioImage::SetReverse(int i, bool on) {
    if (uint8_t* record = MutableRecord(i)) {
        record[kSwitchesByte] = WithBit(record[kSwitchesByte], kReverseBit, on);
    }
}

bool RadioImage::GetPowerHigh(int i) const {
    return HasBit(RecordBytes(i)[kSwitchesByte], kPowerHighBit);
}

void RadioImage::SetPowerHigh(int i, bool on) {
    if (uint8_t* record = MutableRecord(i)) {
        record[kSwitchesByte] = WithBit(record[kSwitchesByte], kPowerHighBit, on);
    }
}

bool RadioImage::GetBcl(int i) const {
    return HasBit(RecordBytes(i)[kSwitchesByte], kBclBit);
}

void RadioImage::SetBcl(int i, bool on) {
    if (uint8_t* record = MutableRecord(i)) {
        record[kSwitchesByte] = WithBit(record[kSwitchesByte], kBclBit, on);
    }
}

int RadioImage::GetBandwidth(int i) const {
    const uint8_t* record = RecordBytes(i);
    if (HasBit(record[kFlagsByte], kMiddleBandwidthBit)) {
        return kBandwidthMiddle;
    }
    return HasBit(record[kSwitchesByte], kNarrowBandwidthBit) ? 1 : 0;
}

// Middle lives in its own bit and leaves the narrow bit alone, as the radio expects.
void RadioImage::SetBandwidth(int i, int value) {
    uint8_t* record = MutableRecord(i);
    if (record == nullptr) {
        return;
    }
    if (value == kBandwidthMiddle) {
        record[kFlagsByte] = WithBit(record[kFlagsByte], kMiddleBandwidthBit, true);
        return;
    }
    record[kFlagsByte] = WithBit(record[kFlagsByte], kMiddleBandwidthBit, false);
    record[kSwitchesByte] = WithBit(record[kSwitchesByte], kNarrowBandwidthBit, value != 0);
}

bool RadioImage::GetScanAdd(int i) const {
    return HasBit(RecordBytes(i)[kSwitchesByte], kScanAddBit);
}

void RadioImage::SetScanAdd(int i, bool on) {
    if (uint8_t* record = MutableRecord(i)) {
        record[kSwitchesByte] = WithBit(record[kSwitchesByte], kScanAddBit, on);
    }
}

bool RadioImage::GetPttId(int i) const {
    return HasBit(RecordBytes(i)[kSwitchesByte], kPttIdBit);
}

void RadioImage::SetPttId(int i, bool on) {
    if (uint8_t* record = MutableRecord(i)) {
        record[kSwitchesByte] = WithBit(record[kSwitchesByte], kPttIdBit, on);
    }
}

bool RadioImage::GetCompander(int i) const {
    return HasBit(RecordBytes(i)[kFlagsByte], kCompanderBit);
}

void RadioImage::SetCompander(int i, bool on) {
    if (uint8_t* record = MutableRecord(i)) {
        record[kFlagsByte] = WithBit(record[kFlagsByte], kCompanderBit, on);
    }
}

int RadioImage::GetStep(int i) const {
    const int step = RecordBytes(i)[kStepByte];
    return step >= kStepCount ? 0 : step;
}

void RadioImage::SetStep(int i, int value) {
    if (uint8_t* record = MutableRecord(i)) {
        record[kStepByte] = static_cast<uint8_t>(value);
    }
}

std::array<uint8_t, kChannelNameSize> RadioImage::GetChannelNameBytes(int n) const {
    std::array<uint8_t, kChannelNameSize> name;
    name.fill(0xFF);
    if (const std::optional<size_t> offset = ChannelNameOffset(n)) {
        std::copy_n(bytes.begin() + static_cast<ptrdiff_t>(*offset), kChannelNameSize,
                    name.begin());
    }
    return name;
}

void RadioImage::SetChannelNameBytes(int n, const std::array<uint8_t, kChannelNameSize>& name) {
    if (const std::optional<size_t> offset = ChannelNameOffset(n)) {
        std::copy(name.begin(), name.end(), bytes.begin() + static_cast<ptrdiff_t>(*offset));
    }
}

int RadioImage::GetWord(size_t base, int k) const {
    const size_t offset = base + 2 * static_cast<size_t>(k - 1);
    if (k < 1 || base >= kImageSize || offset + 1 >= kImageSize) {
        return 0xFFFF;
    }
    return bytes[offset] << 8 | bytes[offset + 1];
}

void RadioImage::SetWord(size_t base, int k, int value) {
    const size_t offset = base + 2 * static_cast<size_t>(k - 1);
    if (k < 1 || base >= kImageSize || offset + 1 >= kImageSize) {
        return;
    }
    bytes[offset] = static_cast<uint8_t>(value >> 8);
    bytes[offset + 1] = static_cast<uint8_t>(value);
}
