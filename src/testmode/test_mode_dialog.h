// The test dialog (template 156): the test items with their values, the value bar and the
// buttons of test mode. It only shows what the session reports; every ending of the
// dialog, Enter included, first lets the session take the radio out of test mode.
#pragma once

#include <string>
#include <vector>

#include "app/dialog_builder.h"
#include "testmode/test_mode_session.h"

class CHalvexApp;
class QLineEdit;
class QListWidget;
class QScrollBar;

constexpr int kTestModeTemplate = 156;
constexpr int kTestItemListId = 1150;
constexpr int kTestValueEditId = 1151;
constexpr int kTestValueBarId = 1152;
constexpr int kStartTestModeId = 1138;
constexpr int kWriteAllId = 1139;
constexpr int kReadAllId = 1153;
constexpr int kOpenDataId = 1154;
constexpr int kSaveDataId = 1155;

// The box of a test-mode message: its language texts, the application's title where the
// message has no caption of its own, the stop icon or none.
void ShowTestModeMessage(QWidget* owner, const TestModeMessage& message);

class CTestModeDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CTestModeDlg(CHalvexApp& app, QWidget* parent = nullptr);
    ~CTestModeDlg() override;

    const TestModeSession& Session() const { return m_Session; }

    // Cancel, Escape, the close box and Enter all end here.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
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
    template <typename Exchange>
    void RunExchange(Exchange exchange);
    void ShowOutcome(const TestModeOutcome& outcome);

    CHalvexApp& m_App;
    TestModeSession m_Session;
    QListWidget* m_ItemList;
    QLineEdit* m_ValueEdit;
    QScrollBar* m_ValueBar;
};
