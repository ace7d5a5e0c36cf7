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
class CPttIdEdit;
struct RadioOptionDefinition;
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

// Item index of option in the words the page shows it, for lists that name settings as the
// page does.
std::string OptionItemText(const RadioOptionDefinition& option, int index);
