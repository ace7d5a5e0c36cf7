// SPDX-License-Identifier: GPL-3.0-or-later
// Program > Programming Station (template 138): the open document written to radio after radio
// on the chosen cables. The station's workers do the radio work; the dialog follows them with
// a timer, shows a row per cable with a result a user sees at arm's length, and never ends
// while a worker still runs.
#pragma once

#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "common/dialog_builder.h"
#include "common/template_stretch.h"
#include "station/programming_station.h"
#include "station/station_log.h"

struct FeatureContext;
class QCloseEvent;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;

class CStationDlg : public TemplateDialog {
    Q_OBJECT
public:
    CStationDlg(const FeatureContext& context, QWidget* parent = nullptr);
    ~CStationDlg() override;

    // Close, Escape and the close box: while a radio is being written the user is asked
    // first; the dialog ends once every worker has returned.
    void reject() override;

    // The row widgets of cable k of the run, for tests and the accessibility tree.
    QPushButton* NextButton(size_t cable) const;
    QLabel* ResultLabel(size_t cable) const;
    QLabel* StateLabel(size_t cable) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct CableRow {
        QLabel* device;
        QLabel* state;
        QLabel* count;
        QPushButton* next;
        QLabel* result;
    };

    // What the radios get, as the dialog and its log name it.
    QString Written() const;
    void OnStart();
    void OnStop();
    void OnTimer();
    std::vector<std::string> ChosenDevices();
    void MakeRows();
    void ShowRow(size_t cable);
    void ShowEvents();
    void ShowRunning(bool running);
    // The first cable whose radio is being written or checked, or -1.
    int CableWriting() const;

    const FeatureContext& m_Context;
    QListWidget* m_Devices;
    QListWidget* m_Log;
    QTimer m_Timer;
    QScrollArea* m_RowsArea = nullptr;
    std::unique_ptr<TemplateStretch> m_Stretch;
    std::vector<CableRow> m_Rows;
    bool m_Closing = false;
    StationLog m_StationLog;
    // Last: its workers are stopped and joined before the log they write to goes.
    std::unique_ptr<ProgrammingStation> m_Station;
};

// Program > Programming Station.
void InstallStationCommand(const FeatureContext& context);
