// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a frequency entry: whatever the user types or a file holds, the
// stored code must be valid packed BCD and read back as the value it was made from.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codeplug/codecs.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

FrequencyLimits MultiBandLimits() {
    FrequencyLimits limits;
    limits.m_FreqMin = 13600000;
    limits.m_FreqMax = 52000000;
    limits.hasGaps = true;
    limits.m_Band1Top = 17400000;
    limits.m_Band3Bottom = 22000000;
    limits.m_Band3Top = 26000000;
    limits.m_Band2Bottom = 40000000;
    return limits;
}

// Limits a damaged settings file could produce: the codecs must stay inside 8 digits anyway.
FrequencyLimits HostileLimits() {
    FrequencyLimits limits;
    limits.m_FreqMin = INT32_MIN;
    limits.m_FreqMax = INT32_MAX;
    limits.hasGaps = true;
    limits.m_Band1Top = -1;
    limits.m_Band3Bottom = INT32_MAX;
    limits.m_Band3Top = INT32_MIN;
    limits.m_Band2Bottom = INT32_MAX;
    return limits;
}

void CheckStored(std::string_view text, bool round, const FrequencyLimits& limits, int32_t value) {
    const std::array<uint8_t, 4> stored = FrequencyTextToBcd(text, round, limits);
    if (text.empty()) {
        for (uint8_t byte : stored) {
            Require(byte == 0xFF);
        }
        return;
    }
    for (uint8_t byte : stored) {
        Require((byte >> 4) <= 9 && (byte & 0x0F) <= 9);
    }
    const std::string readBack = BcdToFrequencyText(stored.data());
    Require(!readBack.empty());
    const int32_t storedValue = FrequencyTextToValue(readBack);
    Require(storedValue >= 0 && storedValue <= kMaxFrequencyValue);
    if (!round) {
        Require(storedValue == value);
    }
    const int range = CheckFrequencyRange(text, limits);
    Require(range >= -1 && range <= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int32_t value = FrequencyTextToValue(text);
    Require(value >= 0 && value <= kMaxFrequencyValue);
    Require(FormatFrequencyValue(value).size() == 9);
    for (const FrequencyLimits& limits : {FrequencyLimits{}, MultiBandLimits(), HostileLimits()}) {
        CheckStored(text, false, limits, value);
        CheckStored(text, true, limits, value);
    }
    return 0;
}
