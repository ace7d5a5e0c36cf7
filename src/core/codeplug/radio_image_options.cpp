// SPDX-License-Identifier: GPL-3.0-or-later
// The radio-wide option bytes. A list index never spills out of its bit field, and a
// stored value the radio should never hold reads as the choice the page can show.
#include "codeplug/radio_image.h"

#include <algorithm>

namespace {

constexpr size_t kSquelchByte = kOptionBase + 0;
constexpr size_t kScanByte = kOptionBase + 1;
constexpr size_t kModeByte = kOptionBase + 2;
constexpr size_t kTimeLimitByte = kOptionBase + 3;
constexpr size_t kDisplayByte = kOptionBase + 4;
constexpr size_t kSideToneByte = kOptionBase + 5;
constexpr size_t kVoxByte = kOptionBase + 6;

constexpr int kLevelCount = 10;
constexpr int kTimeLimitCount = 8;

// A two-bit field with three choices shows its unused fourth value as the last choice.
int ThreeChoices(int stored) {
    return std::min(stored, 2);
}

int LevelChoice(uint8_t stored, int count) {
    return stored < count ? stored : 0;
}

}  // namespace

bool RadioImage::GetBit(size_t offset, int bit) const {
    return (bytes[offset] >> bit & 1) != 0;
}

void RadioImage::SetBit(size_t offset, int bit, bool on) {
    const auto mask = static_cast<uint8_t>(1u << bit);
    bytes[offset] = on ? static_cast<uint8_t>(bytes[offset] | mask)
                       : static_cast<uint8_t>(bytes[offset] & ~mask);
}

int RadioImage::GetField(size_t offset, int lowBit, int width) const {
    return bytes[offset] >> lowBit & ((1 << width) - 1);
}

void RadioImage::SetField(size_t offset, int lowBit, int width, int value) {
    const int mask = ((1 << width) - 1) << lowBit;
    bytes[offset] = static_cast<uint8_t>((bytes[offset] & ~mask) | ((value << lowBit) & mask));
}

int RadioImage::GetSquelch() const {
    return LevelChoice(bytes[kSquelchByte], kLevelCount);
}
void RadioImage::SetSquelch(int index) {
    bytes[kSquelchByte] = static_cast<uint8_t>(index);
}

int RadioImage::GetScanMode() const {
    return ThreeChoices(GetField(kScanByte, 0, 2));
}
void RadioImage::SetScanMode(int index) {
    SetField(kScanByte, 0, 2, index);
}

bool RadioImage::GetDualWatch() const {
    return GetBit(kScanByte, 2);
}
void RadioImage::SetDualWatch(bool checked) {
    SetBit(kScanByte, 2, checked);
}

bool RadioImage::GetEndTone() const {
    return GetBit(kScanByte, 3);
}
void RadioImage::SetEndTone(bool checked) {
    SetBit(kScanByte, 3, checked);
}

// The radio stores the beep as "silent": a set bit means no beep.
bool RadioImage::GetBeep() const {
    return !GetBit(kScanByte, 4);
}
void RadioImage::SetBeep(bool checked) {
    SetBit(kScanByte, 4, !checked);
}

bool RadioImage::GetBacklight() const {
    return GetBit(kScanByte, 5);
}
void RadioImage::SetBacklight(bool checked) {
    SetBit(kScanByte, 5, checked);
}

bool RadioImage::GetPowerSave() const {
    return GetBit(kScanByte, 6);
}
void RadioImage::SetPowerSave(bool checked) {
    SetBit(kScanByte, 6, checked);
}

int RadioImage::GetFreqMode() const {
    return GetField(kScanByte, 7, 1);
}
void RadioImage::SetFreqMode(int index) {
    SetBit(kScanByte, 7, index != 0);
}

int RadioImage::GetPttIdMode() const {
    return GetField(kModeByte, 0, 2);
}
void RadioImage::SetPttIdMode(int index) {
    SetField(kModeByte, 0, 2, index);
}

bool RadioImage::GetRadioFunction() const {
    return GetBit(kModeByte, 2);
}
void RadioImage::SetRadioFunction(bool checked) {
    SetBit(kModeByte, 2, checked);
}

bool RadioImage::GetVoicePrompt() const {
    return GetBit(kModeByte, 3);
}
void RadioImage::SetVoicePrompt(bool checked) {
    SetBit(kModeByte, 3, checked);
}

int RadioImage::GetRadioWorkMode() const {
    return GetField(kModeByte, 4, 1);
}
void RadioImage::SetRadioWorkMode(int index) {
    SetBit(kModeByte, 4, index != 0);
}

int RadioImage::GetWorkModeA() const {
    return GetField(kModeByte, 5, 1);
}
void RadioImage::SetWorkModeA(int index) {
    SetBit(kModeByte, 5, index != 0);
}

int RadioImage::GetWorkModeB() const {
    return GetField(kModeByte, 6, 1);
}
void RadioImage::SetWorkModeB(int index) {
    SetBit(kModeByte, 6, index != 0);
}

int RadioImage::GetVoiceSelect() const {
    return GetField(kModeByte, 7, 1);
}
void RadioImage::SetVoiceSelect(int index) {
    SetBit(kModeByte, 7, index != 0);
}

int RadioImage::GetTxTimeLimit() const {
    return LevelChoice(bytes[kTimeLimitByte], kTimeLimitCount);
}
void RadioImage::SetTxTimeLimit(int index) {
    bytes[kTimeLimitByte] = static_cast<uint8_t>(index);
}

int RadioImage::GetDualWatchTx() const {
    return GetField(kDisplayByte, 0, 2);
}
void RadioImage::SetDualWatchTx(int index) {
    SetField(kDisplayByte, 0, 2, index);
}

bool RadioImage::GetAniTx() const {
    return GetBit(kDisplayByte, 3);
}
void RadioImage::SetAniTx(bool checked) {
    SetBit(kDisplayByte, 3, checked);
}

int RadioImage::GetDisplayF1() const {
    return ThreeChoices(GetField(kDisplayByte, 4, 2));
}
void RadioImage::SetDisplayF1(int index) {
    SetField(kDisplayByte, 4, 2, index);
}

int RadioImage::GetDisplayF2() const {
    return ThreeChoices(GetField(kDisplayByte, 6, 2));
}
void RadioImage::SetDisplayF2(int index) {
    SetField(kDisplayByte, 6, 2, index);
}

bool RadioImage::GetSideTone() const {
    return bytes[kSideToneByte] != 0;
}
void RadioImage::SetSideTone(bool checked) {
    bytes[kSideToneByte] = checked ? 1 : 0;
}

int RadioImage::GetVoxLevel() const {
    return LevelChoice(bytes[kVoxByte], kLevelCount);
}
void RadioImage::SetVoxLevel(int index) {
    bytes[kVoxByte] = static_cast<uint8_t>(index);
}

std::array<uint8_t, kPttIdCodeSize> RadioImage::GetPttIdCode() const {
    std::array<uint8_t, kPttIdCodeSize> code;
    std::copy_n(bytes.begin() + kPttIdCodeOffset, kPttIdCodeSize, code.begin());
    return code;
}

void RadioImage::SetPttIdCode(const std::array<uint8_t, kPttIdCodeSize>& code) {
    std::copy(code.begin(), code.end(), bytes.begin() + kPttIdCodeOffset);
}
