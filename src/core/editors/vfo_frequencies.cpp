// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/vfo_frequencies.h"

#include <array>

#include "platform/decimal_text.h"

namespace {

// Locale-independent on purpose: the desktop runs under the user's locale, whose decimal
// comma would make strtod and printf misread and miswrite these texts.
double MegahertzOf(const std::string& text) {
    return ParseDecimal(text);
}

std::string FormatMegahertz(double megahertz) {
    return FormatFixed(megahertz, 5);
}

// The value a box stands for once the record has stored it as a receive frequency.
int32_t StoredValue(std::string_view text, const FrequencyLimits& limits) {
    if (text.empty()) {
        return 0;
    }
    std::string clamped(text);
    if (int side = CheckFrequencyRange(clamped, limits); side != 0) {
        clamped = FormatFrequencyLimit(side, limits);
    }
    const std::array<uint8_t, 4> packed = FrequencyTextToBcd(clamped, true, limits);
    return RoundToRaster(FrequencyTextToValue(BcdToFrequencyText(packed.data())), limits);
}

}  // namespace

std::string VfoTransmitText(const std::string& receiveText, const std::string& offsetText,
                            ShiftDirection shift) {
    // Both texts come from the same formatter, so equal frequencies give equal texts.
    if (receiveText == offsetText) {
        return std::string();
    }
    if (shift == kShiftMinus) {
        return FormatMegahertz(MegahertzOf(receiveText) - MegahertzOf(offsetText));
    }
    if (shift == kShiftPlus) {
        return FormatMegahertz(MegahertzOf(receiveText) + MegahertzOf(offsetText));
    }
    return receiveText;
}

VfoFrequencies VfoFrequenciesFromTexts(std::string_view receiveText, std::string_view transmitText,
                                       const FrequencyLimits& limits) {
    const int32_t transmit = StoredValue(transmitText, limits);
    const int32_t receive = StoredValue(receiveText, limits);
    VfoFrequencies stored{FormatFrequencyValue(receive), kShiftNone, FormatFrequencyValue(0)};
    if (receive > transmit) {
        stored.shift = kShiftMinus;
        stored.offsetText = FormatFrequencyValue(receive - transmit);
    } else if (receive < transmit) {
        stored.shift = kShiftPlus;
        stored.offsetText = FormatFrequencyValue(transmit - receive);
    }
    return stored;
}
