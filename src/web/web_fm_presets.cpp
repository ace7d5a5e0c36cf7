// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_fm_presets.h"

#include "codeplug/radio_image.h"
#include "config/language.h"
#include "editors/page_words.h"
#include "resources/ids/radiogram_ids.h"

std::string FmPresetsTitle() {
    return ControlLabelText(kRadiogramTemplate);
}

std::vector<std::string> FmPresetRowNames() {
    std::vector<std::string> names;
    const std::string pattern = LoadLangString("IDS_ROW_PRESET");
    for (int preset = 1; preset <= kFmPresetCount; ++preset) {
        names.push_back(FillPlaces(pattern, {std::to_string(preset)}));
    }
    return names;
}

std::string FmFrequencyLabel() {
    return ControlLabelText(kFmFrequencyLabelId);
}
