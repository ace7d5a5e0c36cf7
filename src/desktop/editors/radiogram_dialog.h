// SPDX-License-Identifier: GPL-3.0-or-later
// The FM presets dialog: the sixteen broadcast presets in a grid with an in-cell list, and
// the current receive frequency. Every choice is written to the image at once and marks the
// document modified; OK makes them one undo step, Cancel puts back the presets as they were.
#pragma once

#include "common/dialog_builder.h"
#include "editors/fm_presets_edit.h"
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
    QString PresetText(int preset) const;

    FmPresetsEdit m_Edit;
    CGridCtrl* m_Grid;
    QComboBox* m_FrequencyList;
    CCellEditor* m_PresetEditor;
    int m_EditRow = -1;
    QSize m_TemplateSize;
    QSize m_GridTemplateSize;
    int m_OkTemplateTop = 0;
};

// The FM broadcast presets command of the main frame.
void InstallRadiogramCommand(const FeatureContext& context);
