// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu's dialogs over many channels: Set for Selected Channels, Sort Channels and
// Fill Frequencies. Each takes what the user chose and checks the typed amounts; the
// commands apply the result.
#pragma once

#include <optional>

#include "codeplug/channel_sort.h"
#include "common/dialog_builder.h"
#include "editors/channel_bulk_edit.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

class CSetColumnDlg : public TemplateDialog {
    Q_OBJECT
public:
    // Opens on column when it can be set, else on the first column that can.
    CSetColumnDlg(int column, QWidget* parent);
    // What OK stored; the offset text was checked before the dialog closed.
    ColumnSetting Setting() const { return m_Setting; }

    QComboBox* ColumnList() const { return m_Columns; }
    QComboBox* ValueList() const { return m_Values; }
    QLineEdit* OffsetEdit() const { return m_Offset; }

    void accept() override;

private:
    int Column() const;
    void ShowColumn();

    QComboBox* m_Columns;
    QComboBox* m_Values;
    QLineEdit* m_Offset;
    QLabel* m_Hint;
    ColumnSetting m_Setting;
};

struct SortRequest {
    ChannelSortOrder order;
    bool selectionOnly = false;
};

class CSortChannelsDlg : public TemplateDialog {
    Q_OBJECT
public:
    // Sorting the selection is offered only when more than one channel is selected.
    CSortChannelsDlg(bool hasSelection, QWidget* parent);
    SortRequest Request() const;

private:
    QComboBox* m_Keys;
    QRadioButton* m_Descending;
    QRadioButton* m_Selection;
};

struct FillRequest {
    int32_t first = 0;
    int32_t step = 0;
    int32_t shift = 0;
};

class CFillFrequenciesDlg : public TemplateDialog {
    Q_OBJECT
public:
    // first: the frequency the first selected channel shows, if any.
    CFillFrequenciesDlg(const QString& first, QWidget* parent);
    FillRequest Request() const { return m_Request; }

    QLineEdit* FirstEdit() const { return m_First; }
    QLineEdit* StepEdit() const { return m_Step; }
    QLineEdit* ShiftEdit() const { return m_Shift; }

    void accept() override;

private:
    QLineEdit* m_First;
    QLineEdit* m_Step;
    QLineEdit* m_Shift;
    FillRequest m_Request;
};
