// SPDX-License-Identifier: GPL-3.0-or-later
// The VFO page: the two free-tuning settings F1 and F2 side by side, each one channel-layout
// record of the image. Every change goes into the image at once.
#pragma once

#include <QWidget>
#include <array>
#include <utility>
#include <vector>

#include "common/main_view_page.h"

class CHalvexDoc;
struct VfoChoice;
struct VfoControlIds;
class QComboBox;
class QLineEdit;

class CVfoPage : public QWidget, public MainViewPage {
    Q_OBJECT
public:
    CVfoPage(QWidget* parent, CHalvexDoc& document);

    QWidget* Widget() override { return this; }
    void Reload() override { FillFromImage(); }
    void CommitEdit() override;

    // Relabels the page and shows both records: lists, frequencies, steps.
    void FillFromImage();
    // record is kVfoF1 or kVfoF2.
    void ShowFrequencies(int record);
    void StoreFrequencies(int record);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct VfoWidgets {
        const VfoControlIds* ids;
        QLineEdit* receive;
        QLineEdit* transmit;
        std::vector<std::pair<QComboBox*, const VfoChoice*>> lists;  // in the core's order
    };

    VfoWidgets& WidgetsOf(int record);
    void NameFieldsByGroup();

    CHalvexDoc& m_Document;
    std::array<VfoWidgets, 2> m_Vfos;
};
