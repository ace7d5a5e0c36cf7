// SPDX-License-Identifier: GPL-3.0-or-later
// The channel table page: one grid row per channel, edited through editors the page places
// over the cells, and the frequency-range selector that resets the document to another band.
// It keeps no copy of channel data; every cell is rewritten from the image after a change.
#pragma once

#include <QWidget>
#include <vector>

#include "common/main_view_page.h"
#include "editors/channel_grid.h"
#include "resources/ids/channel_page_ids.h"

class CCellEditor;
class CChannelFindBar;
class CGridCtrl;
class CHalvexDoc;
class QComboBox;
class QMenu;
struct GridNotification;

class CChannelPage : public QWidget, public MainViewPage {
    Q_OBJECT
public:
    CChannelPage(CHalvexDoc& document, std::string settingsPath, QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    // Relabels, reselects the frequency range and rewrites every row from the image.
    void Reload() override;
    void CommitEdit() override;
    // Longer windows show more rows; the columns keep their widths.
    void Grow(const QSize& extra) override;

    CGridCtrl* Grid() const { return m_Grid; }
    QComboBox* RangeSelector() const { return m_RangeSelector; }
    CChannelFindBar* FindBar() const { return m_FindBar; }

    // Rewrites row n (channel n) from the image with its lock states.
    void RefreshRow(int n);
    void RefreshRows(int first, int last);

    // Whole channels chosen by the row headers, ascending.
    std::vector<int> SelectedChannels() const;
    void SelectChannels(const std::vector<int>& channels);
    // Where a paste or an insert goes: the first selected channel, else the focus cell's; 0
    // when there is neither.
    int TargetChannel() const;
    // The last channel the user may change: the setup can lock rows 100 and up.
    int LastEditableChannel() const;
    // The grid's context menu: the frame's channel commands, greyed as in the Edit menu.
    // A right click on a channel outside the selection selects that channel first.
    QMenu* CreateContextMenu(const QPoint& position);

private:
    void OnBeginEdit(const GridNotification& notification);
    void ShowContextMenu(const QPoint& position);
    void OnRangeSelected(int index);
    void CommitFrequency();
    void CommitTone(CCellEditor* editor, RecordSide which);
    void CommitChoice(int selection);
    void CommitName();
    // The open cell's change as one undo step.
    void RecordEdit();
    void CloseEditor(CCellEditor* editor);
    void HideEditors();
    void LoadTexts();
    void FillRangeSelector();
    // Beside the band selector, over the table's right part.
    void PlaceFindBar();
    void FillToneLists();
    void BuildGrid();
    // Read from the settings file once per refresh, however many rows it redraws.
    ChannelTableSettings TableSettings() const;
    void ApplyRow(int n, const ChannelTableSettings& settings);
    bool IsEditing(const CCellEditor* editor) const;
    CCellEditor* EditorFor(int column) const;

    CHalvexDoc& m_Document;
    const std::string m_SettingsPath;
    CGridCtrl* m_Grid;
    QComboBox* m_RangeSelector;
    int m_RangeTemplateWidth = 0;
    QSize m_GridTemplateSize;
    QSize m_PageTemplateSize;
    CChannelFindBar* m_FindBar;
    CCellEditor* m_FrequencyEditor;
    CCellEditor* m_DecodeEditor;
    CCellEditor* m_EncodeEditor;
    CCellEditor* m_ChoiceEditor;
    CCellEditor* m_NameEditor;
    int m_EditRow = -1;
    int m_EditColumn = -1;
    ChannelTableTexts m_Texts;
};
