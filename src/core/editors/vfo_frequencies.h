// SPDX-License-Identifier: GPL-3.0-or-later
// How a VFO's two frequency boxes map onto its record: the record keeps the receive
// frequency, a shift direction and an offset, never the transmit frequency itself.
#pragma once

#include <string>
#include <string_view>

#include "codeplug/codecs.h"
#include "codeplug/radio_image.h"

// What StoreFrequencies writes into a record.
struct VfoFrequencies {
    std::string receiveText;  // "%03d.%05d", stored with raster rounding
    ShiftDirection shift;
    std::string offsetText;  // "%03d.%05d", stored as it stands
};

// The transmit box of a record: empty when the offset text equals the receive text (the
// form an emptied transmit box is stored in), else receive shifted by the offset.
std::string VfoTransmitText(const std::string& receiveText, const std::string& offsetText,
                            ShiftDirection shift);

// Clamps both texts into the band, puts them on the raster and expresses the transmit
// frequency relative to the receive one. An empty box counts as frequency 0.
VfoFrequencies VfoFrequenciesFromTexts(std::string_view receiveText, std::string_view transmitText,
                                       const FrequencyLimits& limits);
