// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/radiogram_codes.h"

namespace {

constexpr int kLowestMegahertz = 65;

}  // namespace

std::string FmCodeText(int code) {
    return std::to_string(kLowestMegahertz + code / 10) + "M" + std::to_string(code % 10);
}

std::vector<std::string> FmFrequencyList() {
    std::vector<std::string> list;
    list.reserve(kFmEmptyPreset + 1);
    for (int code = 0; code <= kFmHighestCode; ++code) {
        list.push_back(FmCodeText(code));
    }
    return list;
}

std::vector<std::string> FmPresetList() {
    std::vector<std::string> list = FmFrequencyList();
    list.push_back(kFmEmptyPresetText);
    return list;
}
