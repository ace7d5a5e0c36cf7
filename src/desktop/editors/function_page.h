// SPDX-License-Identifier: GPL-3.0-or-later
// The optional-functions page: the radio-wide settings of the option bytes and the PTT-ID
// code. Every change goes into the image at once; the page keeps no settings of its own.
#pragma once

#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "common/main_view_page.h"

class CHalvexDoc;
struct RadioOptionDefinition;
class CPttIdEdit;
class QCheckBox;
class QComboBox;

class CFunctionPage : public QWidget, public MainViewPage {
    Q_OBJECT
public:
    CFunctionPage(QWidget* parent, CHalvexDoc& document);
    ~CFunctionPage() override;

    QWidget* Widget() override { return this; }
    void Reload() override { FillFromImage(); }
    void CommitEdit() override { OnPttIdFocusLost(); }

    // Relabels the page, rebuilds every list and shows the image's values.
    void FillFromImage();

private:
    void OnPttIdFocusLost();

    CHalvexDoc& m_Document;
    std::vector<std::pair<QComboBox*, const RadioOptionDefinition*>> m_Lists;
    std::vector<std::pair<QCheckBox*, const RadioOptionDefinition*>> m_CheckBoxes;
    CPttIdEdit* m_PttIdEdit;
};
