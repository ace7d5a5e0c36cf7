// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/fm_presets_edit.h"

#include "codeplug/radiogram_codes.h"
#include "config/app_globals.h"
#include "config/language.h"
#include "editors/page_words.h"
#include "resources/ids/radiogram_ids.h"

FmPresetsEdit::FmPresetsEdit(CHalvexDoc& document)
    : m_Document(document),
      m_BytesAtOpen(document.Image().bytes),
      m_ModifiedAtOpen(document.IsModified()) {}

std::vector<std::string> FmPresetsEdit::Headers() const {
    std::vector<std::string> headers;
    for (const char* key : {"IDS_RadiogramText0", "IDS_RadiogramText1"}) {
        headers.push_back(LoadLangText(g_LanguagePath, "RadiogramText", key, "", kListBufferSize));
    }
    return headers;
}

std::vector<std::string> FmPresetsEdit::PresetChoices() const {
    std::vector<std::string> presets = FmPresetList();
    presets.back() = LoadLangString("IDS_FM_OFF");
    return presets;
}

std::vector<std::string> FmPresetsEdit::FrequencyChoices() const {
    return FmFrequencyList();
}

int FmPresetsEdit::Preset(int preset) const {
    if (preset < 1 || preset > kFmPresetCount) {
        return -1;
    }
    const int code = m_Document.Image().GetWord(kFmPresetBase, preset);
    return code >= 0 && code <= kFmEmptyPreset ? code : -1;
}

int FmPresetsEdit::Frequency() const {
    const int code = m_Document.Image().GetWord(kFmFrequencyOffset, 1);
    return code >= 0 && code <= kFmHighestCode ? code : -1;
}

bool FmPresetsEdit::ChoosePreset(int preset, int index) {
    if (preset < 1 || preset > kFmPresetCount || index < 0 || index > kFmEmptyPreset) {
        return false;
    }
    m_Document.EditImage().SetWord(kFmPresetBase, preset, index);
    m_Document.SetModifiedFlag();
    NoteStep(MakeStepName("IDS_STEP_ITEM",
                          {StepPart::Text("IDS_ROW_PRESET", {std::to_string(preset)})}));
    return true;
}

bool FmPresetsEdit::ChooseFrequency(int index) {
    if (index < 0 || index > kFmHighestCode) {
        return false;
    }
    m_Document.EditImage().SetWord(kFmFrequencyOffset, 1, index);
    m_Document.SetModifiedFlag();
    NoteStep(MakeStepName("IDS_STEP_ITEM", {StepPart::Control(kFmFrequencyLabelId)}));
    return true;
}

// One edit names the step by itself; several by the dialog.
void FmPresetsEdit::NoteStep(const std::string& name) {
    if (m_Edits++ == 0 || name == m_StepName) {
        m_StepName = name;
        return;
    }
    m_StepName = MakeStepName("IDS_STEP_ITEM", {StepPart::Control(kRadiogramTemplate)});
}

void FmPresetsEdit::Accept() {
    if (m_Edits > 0) {
        m_Document.CommitEdit(m_StepName);
    }
}

void FmPresetsEdit::Reject() {
    m_Document.EditImage().bytes = m_BytesAtOpen;
    m_Document.SetModifiedFlag(m_ModifiedAtOpen);
}
