// SPDX-License-Identifier: GPL-3.0-or-later
// A radio read back compared with the image it should hold, in the words diff and Compare use,
// for a station run that checks radios without writing them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "codeplug/document_settings.h"
#include "codeplug/radio_image.h"

// One line per place ("Channel 5, Name: BASE -> BASF"); none when the radio holds the image.
std::vector<std::string> DifferingPlaces(const std::array<uint8_t, kImageSize>& file,
                                         const std::array<uint8_t, kImageSize>& radio,
                                         const DocumentSettings& settings);

// The places as one field of the log: the first ten, then how many more.
std::string PlacesDetail(const std::vector<std::string>& places);
