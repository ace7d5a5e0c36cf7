// SPDX-License-Identifier: GPL-3.0-or-later
// The FM presets dialog while it is open, on the desktop and in the browser: every choice
// goes into the image at once and marks the document modified; OK makes them one undo step,
// Cancel puts back the image and the modified flag as they were when it opened.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "codeplug/document.h"

class FmPresetsEdit {
public:
    explicit FmPresetsEdit(CHalvexDoc& document);

    // The grid's two column headers.
    std::vector<std::string> Headers() const;
    // The lists: a preset's (the frequencies, then the empty preset) and the receive one.
    std::vector<std::string> PresetChoices() const;
    std::vector<std::string> FrequencyChoices() const;

    // Entries shown now; -1 for a stored code the list lacks. preset is 1..16.
    int Preset(int preset) const;
    int Frequency() const;
    bool ChoosePreset(int preset, int index);
    bool ChooseFrequency(int index);

    void Accept();
    void Reject();

private:
    void NoteStep(const std::string& name);

    CHalvexDoc& m_Document;
    std::array<uint8_t, kImageSize> m_BytesAtOpen;
    bool m_ModifiedAtOpen;
    std::string m_StepName;
    int m_Edits = 0;
};
