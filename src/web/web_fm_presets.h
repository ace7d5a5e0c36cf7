// SPDX-License-Identifier: GPL-3.0-or-later
// The FM presets dialog as the page holds it open: every choice goes into the image at once
// and marks the document modified; OK makes them one undo step, Cancel puts back the image
// and the modified flag as they were when it opened, as the desktop's dialog does.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "codeplug/document.h"

class FmPresetsEdit {
public:
    explicit FmPresetsEdit(CHalvexDoc& document);

    // The dialog's words: its title, the two column headers, each preset row's name and the
    // frequency list's label.
    std::string Title() const;
    std::vector<std::string> Headers() const;
    std::vector<std::string> RowNames() const;
    std::string FrequencyLabel() const;
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
