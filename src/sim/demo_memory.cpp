// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/demo_memory.h"

#include <algorithm>
#include <string>

#include "codeplug/radio_image.h"

namespace {

struct DemoChannel {
    const char* receive;
    const char* offset;
    ShiftDirection shift;
    int decodeTone;
    int encodeTone;
    bool powerHigh;
    int bandwidth;
    const char* name;
};

// Tone indices: 9 = 88.5 Hz, 13 = 100.0 Hz, 51 = D023N, 258 = D754I.
constexpr DemoChannel kChannels[] = {
    {"146.52000", "000.00000", kShiftNone, 0, 0, true, 0, "CALL"},
    {"145.50000", "000.00000", kShiftNone, 9, 9, true, 0, "SIMP"},
    {"145.65000", "000.60000", kShiftMinus, 0, 13, true, 0, "RPT1"},
    {"147.33000", "000.60000", kShiftPlus, 51, 51, false, 1, "RPT2"},
    {"151.82000", "000.00000", kShiftNone, 258, 258, false, 1, "MURS"},
    {"162.55000", "162.55000", kShiftNone, 0, 0, true, 2, "WX1"},
};

constexpr uint8_t kBandWord136To174[] = {0x60, 0x13, 0x40, 0x17};
constexpr uint8_t kOptionDefaults[] = {0x04, 0x78, 0x88, 0x01, 0x00, 0x00, 0x00};
constexpr std::array<uint8_t, kRecordSettingsSize> kChannelSettings = {0x00, 0x00, 0x00, 0x08,
                                                                       0x00};
constexpr int kFmPresets[] = {225, 280, 340, 431};  // 87.5, 93.0, 99.0 MHz, then empty
constexpr uint8_t kTestValue = 0x80;

}  // namespace

RadioMemory DemoMemory() {
    RadioImage image;
    image.bytes.fill(0xFF);
    std::copy(std::begin(kBandWord136To174), std::end(kBandWord136To174),
              image.bytes.begin() + kBandWordOffset);
    std::copy(std::begin(kOptionDefaults), std::end(kOptionDefaults),
              image.bytes.begin() + kOptionBase);
    FrequencyLimits limits;
    limits.m_FreqMin = 13600000;
    limits.m_FreqMax = 17399500;

    // The demo's VFOs hold the same settings as its channels.
    image.SetRecordSettings(kVfoF1, kChannelSettings);
    image.SetRecordSettings(kVfoF2, kChannelSettings);
    image.SetFrequencyText(kVfoF1, kDecodeSide, "146.00000", limits);
    image.SetFrequencyText(kVfoF1, kEncodeSide, "000.00000", limits);
    image.SetFrequencyText(kVfoF2, kDecodeSide, "136.00000", limits);
    image.SetFrequencyText(kVfoF2, kEncodeSide, "000.00000", limits);

    int n = 1;
    for (const DemoChannel& channel : kChannels) {
        image.ClearRecordSettings(n);
        image.SetFrequencyText(n, kDecodeSide, channel.receive, limits);
        image.SetFrequencyText(n, kEncodeSide, channel.offset, limits);
        image.SetShiftDirection(n, channel.shift);
        image.SetTone(n, kDecodeSide, channel.decodeTone);
        image.SetTone(n, kEncodeSide, channel.encodeTone);
        image.SetPowerHigh(n, channel.powerHigh);
        image.SetBandwidth(n, channel.bandwidth);
        image.SetScanAdd(n, true);
        image.SetChannelNameBytes(n, EncodeChannelName(channel.name));
        ++n;
    }

    for (int p = 1; p <= kFmPresetCount; ++p) {
        size_t listed = std::size(kFmPresets);
        image.SetWord(kFmPresetBase, p,
                      p <= static_cast<int>(listed) ? kFmPresets[p - 1] : kFmPresets[listed - 1]);
    }
    image.SetWord(kFmFrequencyOffset, 1, kFmPresets[0]);
    for (int item = 0; item < kTestItemCount; ++item) {
        image.SetTestItem(item, kTestValue + item);
    }
    image.PrepareImage();
    return image.bytes;
}
