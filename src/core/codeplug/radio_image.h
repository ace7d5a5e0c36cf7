// SPDX-License-Identifier: GPL-3.0-or-later
// The radio's 8 KB configuration memory and the accessors every page edits it through.
// Getters never fail: out-of-range stored values and refused indices read as the
// clamped value of an all-0xFF record. Setters never write outside their field.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "codeplug/codecs.h"

constexpr size_t kImageSize = 8192;
constexpr size_t kRecordSize = 16;
constexpr size_t kRecordSettingsSize = 5;
constexpr int kVfoF1 = 0, kVfoF2 = 820;
constexpr int kImageChannelCount = 128;
constexpr size_t kChannelNameSize = 5;
constexpr size_t kPttIdCodeSize = 6;
constexpr int kTestItemCount = 58;

// The range a clone exchange moves, all of it sent by a write; below it the radio keeps what
// only it may change.
constexpr size_t kCloneBegin = 0x0800;
constexpr size_t kVfoF1Offset = 0x0830;
constexpr size_t kVfoF2Offset = 0x0820;
constexpr size_t kFmPresetBase = 0x08A0;
constexpr int kFmPresetCount = 16;
constexpr size_t kChannelNameBase = 0x0900;
constexpr size_t kOptionBase = 0x0D00;
constexpr size_t kFirstFmPresetOffset = 0x0D07;
constexpr size_t kFirstChannelOffset = 0x0D08;
constexpr size_t kFmFrequencyCopyOffset = 0x0D09;
constexpr size_t kFmFrequencyOffset = 0x0D0B;
constexpr size_t kFirstChannelCopyOffset = 0x0D0D;
constexpr size_t kPttIdCodeOffset = 0x0D20;
constexpr size_t kEmptyChannelBitmapOffset = 0x0D30;
constexpr size_t kModelIdOffset = 0x0D40;
constexpr size_t kBandWordOffset = 0x0F00;
constexpr size_t kTestDataOffset = 0x0FC0;
// The 32 values test mode adjusts live, in two banks of 16 from here.
constexpr size_t kAdjustBankOffset = 0x0FE0;
constexpr size_t kChannelRecordBase = 0x1000;

// The which argument of the frequency and tone accessors: the decode side is the receive
// frequency and the decode tone, the encode side the offset and the encode tone.
enum RecordSide : int { kEncodeSide = 0, kDecodeSide = 1 };

// Where a record transmits: on its receive frequency, or that less or plus the offset.
enum ShiftDirection : int { kShiftNone = 0, kShiftMinus = 1, kShiftPlus = 2 };

class RadioImage {
public:
    RadioImage();

    std::array<uint8_t, kImageSize> bytes;

    // Channel and VFO records. i is a record index (kVfoF1, kVfoF2 or a channel 1..128),
    // n a channel number.
    bool IsChannelEmpty(int n) const;
    bool IsTxAbsent(int n) const;
    bool IsOffsetEmpty(int i) const;
    std::string GetFrequencyText(int i, RecordSide which) const;
    void SetFrequencyText(int i, RecordSide which, std::string_view text,
                          const FrequencyLimits& limits);
    int GetTone(int i, RecordSide which) const;
    void SetTone(int i, RecordSide which, int tone);
    // A stored 3 reads as kShiftNone; the setter writes the value's two low bits.
    ShiftDirection GetShiftDirection(int i) const;
    void SetShiftDirection(int i, ShiftDirection value);
    bool GetReverse(int i) const;
    void SetReverse(int i, bool on);
    bool GetPowerHigh(int i) const;
    void SetPowerHigh(int i, bool on);
    bool GetBcl(int i) const;
    void SetBcl(int i, bool on);
    int GetBandwidth(int i) const;
    void SetBandwidth(int i, int value);
    bool GetScanAdd(int i) const;
    void SetScanAdd(int i, bool on);
    bool GetPttId(int i) const;
    void SetPttId(int i, bool on);
    bool GetCompander(int i) const;
    void SetCompander(int i, bool on);
    int GetStep(int i) const;
    void SetStep(int i, int value);
    std::array<uint8_t, kChannelNameSize> GetChannelNameBytes(int n) const;
    void SetChannelNameBytes(int n, const std::array<uint8_t, kChannelNameSize>& name);

    // The one place that knows where a record lies: kRecordSize bytes from this offset, for
    // the two VFOs and channels 1..kImageChannelCount; nothing for any other index.
    static std::optional<size_t> RecordOffset(int i);
    // Where channel n's kChannelNameSize name bytes lie; nothing for any other index.
    static std::optional<size_t> ChannelNameOffset(int n);
    // The channel whose record or name holds the image byte at offset, if any.
    static std::optional<int> ChannelAt(size_t offset);
    // A whole record; a refused index reads as a blank record and is never written.
    std::array<uint8_t, kRecordSize> GetRecord(int i) const;
    void SetRecord(int i, const std::array<uint8_t, kRecordSize>& record);
    // The four bytes of one frequency field as stored, to put back untouched.
    std::array<uint8_t, 4> GetFrequencyField(int i, RecordSide which) const;
    void SetFrequencyField(int i, RecordSide which, const std::array<uint8_t, 4>& field);
    // The switches, tones and step of a record (its bytes after the two frequencies).
    void SetRecordSettings(int i, const std::array<uint8_t, kRecordSettingsSize>& settings);
    // Those of a new channel, or of a new VFO: no tones, high power, nothing else on.
    void ClearRecordSettings(int i);
    // A record read from a radio that never used it holds 0xFF there, which reads as every
    // switch on (reverse among them, a transmit hazard).
    bool AreRecordSettingsUnwritten(int i) const;

    // 16-bit big-endian word k (from 1) of the table at base; 0xFFFF when outside the image.
    int GetWord(size_t base, int k) const;
    void SetWord(size_t base, int k, int value);

    // Derives the model identification, empty-channel bitmap, first used channel and FM bytes.
    void PrepareImage();
    // Whether PrepareImage sets the byte at offset of this image, whatever it held before.
    bool IsDerivedByte(size_t offset) const;

    // Optional functions: list indices, or check states for the on/off options.
    int GetSquelch() const;
    void SetSquelch(int index);
    int GetScanMode() const;
    void SetScanMode(int index);
    bool GetDualWatch() const;
    void SetDualWatch(bool checked);
    bool GetEndTone() const;
    void SetEndTone(bool checked);
    bool GetBeep() const;
    void SetBeep(bool checked);
    bool GetBacklight() const;
    void SetBacklight(bool checked);
    bool GetPowerSave() const;
    void SetPowerSave(bool checked);
    int GetFreqMode() const;
    void SetFreqMode(int index);
    int GetPttIdMode() const;
    void SetPttIdMode(int index);
    bool GetRadioFunction() const;
    void SetRadioFunction(bool checked);
    bool GetVoicePrompt() const;
    void SetVoicePrompt(bool checked);
    int GetRadioWorkMode() const;
    void SetRadioWorkMode(int index);
    int GetWorkModeA() const;
    void SetWorkModeA(int index);
    int GetWorkModeB() const;
    void SetWorkModeB(int index);
    int GetVoiceSelect() const;
    void SetVoiceSelect(int index);
    int GetTxTimeLimit() const;
    void SetTxTimeLimit(int index);
    int GetDualWatchTx() const;
    void SetDualWatchTx(int index);
    bool GetAniTx() const;
    void SetAniTx(bool checked);
    int GetDisplayF1() const;
    void SetDisplayF1(int index);
    int GetDisplayF2() const;
    void SetDisplayF2(int index);
    bool GetSideTone() const;
    void SetSideTone(bool checked);
    int GetVoxLevel() const;
    void SetVoxLevel(int index);
    std::array<uint8_t, kPttIdCodeSize> GetPttIdCode() const;
    void SetPttIdCode(const std::array<uint8_t, kPttIdCodeSize>& code);

    // Test items 0..kTestItemCount-1; any other item reads as 0xFF and is never written.
    static bool IsTestItem(int item);
    int GetTestItem(int item) const;
    void SetTestItem(int item, int value);

private:
    // The first FM preset holding a station, from 1; nothing when all are empty.
    std::optional<int> FirstFmPreset() const;
    // The record's bytes, or an all-0xFF record when the index is refused.
    const uint8_t* RecordBytes(int i) const;
    // The record's bytes, or nullptr when the index is refused.
    uint8_t* MutableRecord(int i);

    bool GetBit(size_t offset, int bit) const;
    void SetBit(size_t offset, int bit, bool on);
    int GetField(size_t offset, int lowBit, int width) const;
    void SetField(size_t offset, int lowBit, int width, int value);
};
