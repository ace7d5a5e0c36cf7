// SPDX-License-Identifier: GPL-3.0-or-later
// The FM presets dialog: the sixteen broadcast presets in a grid with an in-cell list, and
// the current receive frequency. Every choice is written to the image at once and marks the
// document modified; OK makes them one undo step, Cancel puts back the presets as they were.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "codeplug/radio_image.h"
#include "common/dialog_builder.h"
#include "resources/ids/radiogram_ids.h"

class CCellEditor;
class CGridCtrl;
struct FeatureContext;
class CHalvexDoc;
class QComboBox;
struct GridNotification;

class CRadiogramDlg : public TemplateDialog {
    Q_OBJECT
public:
    CRadiogramDlg(CHalvexDoc& document, QWidget* parent = nullptr);

    CGridCtrl* Grid() const { return m_Grid; }
    QComboBox* PresetList() const;
    QComboBox* FrequencyList() const { return m_FrequencyList; }

    void accept() override;
    // Cancel, Escape and the close box: the document as it was when the dialog opened.
    void reject() override;

protected:
    // Taller shows more presets; the buttons stay under the grid.
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetUpGrid();
    void FillGrid();
    void FillPresetList();
    void OnBeginEdit(const GridNotification& notification);
    void OnPresetChosen(int index);
    void OnPresetListLeft();
    void OnFrequencyChosen(int index);
    void NoteStep(const std::string& name);

    CHalvexDoc& m_Document;
    CGridCtrl* m_Grid;
    QComboBox* m_FrequencyList;
    CCellEditor* m_PresetEditor;
    int m_EditRow = -1;
    std::array<uint8_t, kImageSize> m_BytesAtOpen;
    bool m_ModifiedAtOpen;
    // The one undo step OK records: the edit's own name, or the dialog's for several.
    std::string m_StepName;
    int m_Edits = 0;
    QSize m_TemplateSize;
    QSize m_GridTemplateSize;
    int m_OkTemplateTop = 0;
};

// The FM broadcast presets command of the main frame.
void InstallRadiogramCommand(const FeatureContext& context);
