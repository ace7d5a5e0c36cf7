// The FM presets dialog: the sixteen broadcast presets in a grid with an in-cell list, and
// the current receive frequency. Every choice is written to the image at once and marks the
// document modified; Cancel closes without undoing anything.
#pragma once

#include "app/dialog_builder.h"
#include "resources/ids/radiogram_ids.h"

class CCellEditor;
class CGridCtrl;
class CHalvexApp;
class CHalvexDoc;
class CMainFrame;
class QComboBox;
struct GridNotification;

class CRadiogramDlg : public TemplateDialog {
    Q_OBJECT
public:
    CRadiogramDlg(CHalvexDoc& document, QWidget* parent = nullptr);

    CGridCtrl* Grid() const { return m_Grid; }
    QComboBox* PresetList() const;
    QComboBox* FrequencyList() const { return m_FrequencyList; }

private:
    void SetUpGrid();
    void FillGrid();
    void FillPresetList();
    void OnBeginEdit(const GridNotification& notification);
    void OnPresetChosen(int index);
    void OnPresetListLeft();
    void OnFrequencyChosen(int index);

    CHalvexDoc& m_Document;
    CGridCtrl* m_Grid;
    QComboBox* m_FrequencyList;
    CCellEditor* m_PresetEditor;
    int m_EditRow = -1;
};

// The FM broadcast presets command of the main frame.
void InstallRadiogramCommand(CHalvexApp& app, CMainFrame& frame);
