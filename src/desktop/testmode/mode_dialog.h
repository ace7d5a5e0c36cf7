// SPDX-License-Identifier: GPL-3.0-or-later
// The test dialog (template 156): the test items with their values, the value bar and the
// buttons of test mode. It only shows what the session reports; every ending of the
// dialog, Enter included, first lets the session take the radio out of test mode. Start,
// read all and write all run on a worker that an exchange follower follows; the worker and
// the dialog share only the job, and the dialog never ends before the worker has.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/dialog_builder.h"
#include "link/exchange_follower.h"
#include "resources/ids/test_mode_ids.h"
#include "testmode/mode_session.h"

struct FeatureContext;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QScrollBar;

// The box of a test-mode message: its language texts, the application's title where the
// message has no caption of its own, the stop icon or none; detail follows the text.
void ShowTestModeMessage(QWidget* owner, const TestModeMessage& message,
                         const std::string& detail = {});

class CTestModeDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CTestModeDlg(const FeatureContext& context, QWidget* parent = nullptr);
    ~CTestModeDlg() override;

    const TestModeSession& Session() const { return m_Session; }

    // Cancel, Escape, the close box and Enter all end here. While an exchange runs, the
    // dialog ends only once the worker has.
    void done(int result) override;
    // Cancel and Escape: while an exchange runs they cancel it and the dialog stays open.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    // Shows lines with the session's selection, scroll position and its value text.
    void ShowLines(const std::vector<std::string>& lines);
    void ShowPosition();
    void OnSelectionChanged(int row);
    void OnScrollAction(int action);
    void OnEndScroll();
    void OnStartTestMode();
    void OnWriteAll();
    void OnReadAll();
    void OnOpenData();
    void OnSaveData();
    void StartExchange(TestExchangeKind kind);
    bool ExchangeRunning() const { return m_Follower.Running(); }
    // Asks the worker to stop; close: end the dialog with result once it has.
    void CancelExchange(std::optional<int> closeResult);
    void OnExchangeFinished();
    void EnableControls(bool enabled);
    // The main window shows the changed image, and Save knows it has something to store.
    // name is the undo step of the change.
    void MarkDocumentChanged(const std::string& name);
    void ShowReadStopped();
    void ShowOutcome(const TestModeOutcome& outcome);

    const FeatureContext& m_Context;
    TestModeSession m_Session;
    QListWidget* m_ItemList;
    QLineEdit* m_ValueEdit;
    QScrollBar* m_ValueBar;
    QProgressBar* m_ProgressBar;

    TestExchangeJob m_Job;
    ExchangeFollower m_Follower{m_Job.cancel};
    // The result to end with once the running exchange has stopped.
    std::optional<int> m_CloseResult;
};
