// SPDX-License-Identifier: GPL-3.0-or-later
#include "testmode/mode_dialog.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalBlocker>

#include "codeplug/document.h"
#include "common/feature_context.h"
#include "common/message_box.h"
#include "common/navigation_keys.h"
#include "common/relabel.h"
#include "common/step_names.h"
#include "config/app_globals.h"
#include "config/language.h"
#include "link/doctor_messages.h"
#include "link/serial_port.h"
#include "testmode/mode_items.h"

namespace {

constexpr int kProgressRange = 100;

// Everything a user could start or change while an exchange runs; only Cancel stays on.
constexpr int kExchangeBlockedIds[] = {kTestItemListId, kTestValueBarId, kStartTestModeId,
                                       kWriteAllId,     kReadAllId,      kOpenDataId,
                                       kSaveDataId};

ScrollCode ScrollCodeOf(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return ScrollCode::LineLeft;
        case QAbstractSlider::SliderSingleStepAdd:
            return ScrollCode::LineRight;
        case QAbstractSlider::SliderMove:
            return ScrollCode::ThumbTrack;
        default:
            return ScrollCode::Other;
    }
}

}  // namespace

void ShowTestModeMessage(QWidget* owner, const TestModeMessage& message,
                         const std::string& detail) {
    // The application's title is the one the main window shows in this language.
    std::string caption = message.captionKey.empty() ? LoadLangString("IDS_WINDOWNAME")
                                                     : LoadLangString(message.captionKey);
    std::string text = LoadLangString(message.textKey);
    if (!detail.empty()) {
        text += "\n\n" + detail;
    }
    MessageBox::Show(owner, text, caption,
                     message.stopIcon ? MessageIcon::Stop : MessageIcon::Information,
                     MessageButtons::Ok);
}

CTestModeDlg::CTestModeDlg(const FeatureContext& context, QWidget* parent)
    : TemplateDialog(kTestModeTemplate, parent),
      m_Context(context),
      m_Session(context.port, context.port.PortsFolder(), context.settingsPath, g_LanguagePath,
                context.document.EditImage()),
      m_ItemList(FindControl<QListWidget>(this, kTestItemListId)),
      m_ValueEdit(FindControl<QLineEdit>(this, kTestValueEditId)),
      m_ValueBar(FindControl<QScrollBar>(this, kTestValueBarId)),
      m_ProgressBar(FindControl<QProgressBar>(this, kTestProgressId)) {
    // Left and Right step down and up, as the wrap rules expect.
    m_ValueBar->setInvertedControls(false);
    m_ValueBar->installEventFilter(this);
    connect(m_ItemList, &QListWidget::currentRowChanged, this, &CTestModeDlg::OnSelectionChanged);
    connect(m_ValueBar, &QScrollBar::actionTriggered, this, &CTestModeDlg::OnScrollAction);
    const std::pair<int, void (CTestModeDlg::*)()> buttons[] = {
        {kStartTestModeId, &CTestModeDlg::OnStartTestMode},
        {kWriteAllId, &CTestModeDlg::OnWriteAll},
        {kReadAllId, &CTestModeDlg::OnReadAll},
        {kOpenDataId, &CTestModeDlg::OnOpenData},
        {kSaveDataId, &CTestModeDlg::OnSaveData},
    };
    for (const auto& [id, handler] : buttons) {
        connect(FindControl<QAbstractButton>(this, id), &QAbstractButton::clicked, this, handler);
    }
    m_ProgressBar->setRange(0, kProgressRange);
    m_ProgressBar->setValue(0);
    connect(&m_Follower, &ExchangeFollower::Progressed, this,
            [this] { m_ProgressBar->setValue(m_Job.Progress()); });
    connect(&m_Follower, &ExchangeFollower::Finished, this, &CTestModeDlg::OnExchangeFinished);
    Fill();
}

CTestModeDlg::~CTestModeDlg() {
    // The worker uses the port and the job: both must outlive it.
    m_Follower.Stop();
    m_Session.Close();
}

void CTestModeDlg::done(int result) {
    if (ExchangeRunning()) {
        CancelExchange(result);
        return;
    }
    // Never leave the radio in test mode with the port held, however the dialog ends.
    m_Session.Close();
    TemplateDialog::done(result);
}

void CTestModeDlg::reject() {
    if (ExchangeRunning()) {
        CancelExchange(std::nullopt);
        return;
    }
    TemplateDialog::reject();
}

void CTestModeDlg::closeEvent(QCloseEvent* event) {
    if (ExchangeRunning()) {
        // The window goes once the worker has stopped; until then it stays to be waited on.
        CancelExchange(Rejected);
        event->ignore();
        return;
    }
    TemplateDialog::closeEvent(event);
}

void CTestModeDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // A stray Enter must not stop a transfer halfway: only Cancel or the close box does.
        if (!ExchangeRunning()) {
            accept();
        }
        return;
    }
    TemplateDialog::keyPressEvent(event);
}

bool CTestModeDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_ValueBar) {
        return TemplateDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                OnEndScroll();
            }
            break;
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat() && IsNavigationKey(key->key())) {
                OnEndScroll();
            }
            break;
        }
        case QEvent::Wheel:
            // The wheel has no end: a value it set would never be stored or sent.
            return true;
        default:
            break;
    }
    return false;
}

void CTestModeDlg::Fill() {
    RelabelDialog(this, kTestModeTemplate);
    m_ValueBar->setRange(kTestValueMinimum, kTestValueMaximum);
    ShowLines(m_Session.Fill());
}

void CTestModeDlg::ShowLines(const std::vector<std::string>& lines) {
    // Only the user's selections reach the session and the radio.
    QSignalBlocker blocker(m_ItemList);
    m_ItemList->clear();
    for (const std::string& line : lines) {
        m_ItemList->addItem(QString::fromStdString(line));
    }
    m_ItemList->setCurrentRow(m_Session.SelectedItem());
    ShowPosition();
}

void CTestModeDlg::ShowPosition() {
    m_ValueBar->setValue(m_Session.Position());
    m_ValueEdit->setText(QString::number(m_Session.Position()));
}

void CTestModeDlg::OnSelectionChanged(int row) {
    // The worker holds the port; an adjust frame now would cut into its exchange.
    if (row < 0 || ExchangeRunning()) {
        return;
    }
    m_Session.Select(row);
    ShowPosition();
}

void CTestModeDlg::OnScrollAction(int action) {
    m_Session.Scroll(ScrollCodeOf(action), m_ValueBar->sliderPosition());
    // The bar applies the action after this returns, from the slider position set here, so
    // the wrap at both ends holds and the codes that do nothing leave the bar where it was.
    m_ValueBar->setSliderPosition(m_Session.Position());
    m_ValueEdit->setText(QString::number(m_Session.Position()));
}

void CTestModeDlg::OnEndScroll() {
    if (m_Session.SelectedItem() < 0 || ExchangeRunning()) {
        return;
    }
    ScrollOutcome outcome = m_Session.Scroll(ScrollCode::EndScroll, m_Session.Position());
    if (outcome.stored) {
        ShowLines(m_Session.ItemLines());
    }
    if (outcome.imageChanged) {
        MarkDocumentChanged(
            StepName("IDS_STEP_TEST_VALUE", {StepArg::TestItem(m_Session.SelectedItem())}));
    }
}

void CTestModeDlg::OnStartTestMode() {
    StartExchange(TestExchangeKind::StartTestMode);
}

void CTestModeDlg::OnWriteAll() {
    StartExchange(TestExchangeKind::WriteAll);
}

void CTestModeDlg::OnReadAll() {
    // Read all replaces the whole document, channels included, as Read from Radio does.
    if (ExchangeRunning() || !m_Context.saveModified()) {
        return;
    }
    StartExchange(TestExchangeKind::ReadAll);
}

void CTestModeDlg::StartExchange(TestExchangeKind kind) {
    if (ExchangeRunning()) {
        return;
    }
    m_Session.BeginExchange(kind, m_Job);
    m_Job.deviceRoots = m_Context.deviceRoots;
    m_ProgressBar->setValue(0);
    EnableControls(false);
    m_Follower.Start([this] { RunTestExchange(m_Job); });
}

void CTestModeDlg::CancelExchange(std::optional<int> closeResult) {
    m_Follower.Cancel();
    FindControl<QAbstractButton>(this, kIdCancel)->setEnabled(false);
    if (closeResult) {
        m_CloseResult = closeResult;
    }
}

void CTestModeDlg::OnExchangeFinished() {
    TestModeOutcome outcome = m_Session.FinishExchange(m_Job);
    EnableControls(true);
    if (outcome.imageChanged) {
        MarkDocumentChanged(StepName(m_Job.kind == TestExchangeKind::ReadAll
                                         ? "IDS_STEP_TEST_READ_ALL"
                                         : "IDS_STEP_TEST_READ"));
    }
    if (m_CloseResult) {
        int result = *m_CloseResult;
        m_CloseResult.reset();
        done(result);
        return;
    }
    if (m_Job.cancelled && m_Job.kind == TestExchangeKind::ReadAll) {
        ShowReadStopped();
    }
    ShowOutcome(outcome);
}

// A stopped Read all keeps nothing it read; the bar must not stay as if it were paused.
void CTestModeDlg::ShowReadStopped() {
    constexpr int kBlockSize = 16;
    std::string text = LoadLangStringWith("IDS_TEST_READSTOPPED",
                                          {(m_Job.storedEnd - m_Job.storedFrom) / kBlockSize,
                                           static_cast<int>(kImageSize) / kBlockSize});
    m_ProgressBar->setValue(0);
    MessageBox::Show(this, text, LoadLangString("IDS_PROMPT"), MessageIcon::Information,
                     MessageButtons::Ok);
}

void CTestModeDlg::EnableControls(bool enabled) {
    for (int id : kExchangeBlockedIds) {
        FindControl<QWidget>(this, id)->setEnabled(enabled);
    }
    FindControl<QAbstractButton>(this, kIdCancel)->setEnabled(true);
}

void CTestModeDlg::MarkDocumentChanged(const std::string& name) {
    CHalvexDoc& document = m_Context.document;
    document.SetModifiedFlag();
    document.CommitEdit(name);
    // Read all brings the radio's band words along, and with them its frequency limits.
    document.RefreshLimitsAndViews();
}

void CTestModeDlg::OnOpenData() {
    m_Context.openFile();
    Fill();
}

void CTestModeDlg::OnSaveData() {
    m_Context.saveFile();
}

void CTestModeDlg::ShowOutcome(const TestModeOutcome& outcome) {
    if (!outcome.warning.empty()) {
        MessageBox::Show(this, outcome.warning, LoadLangString("IDS_ERROR"),
                         MessageIcon::Exclamation, MessageButtons::Ok);
    }
    if (outcome.message) {
        ShowTestModeMessage(this, *outcome.message,
                            outcome.diagnosis ? DoctorMessage(*outcome.diagnosis) : std::string());
    }
    if (outcome.refill) {
        ShowLines(m_Session.ItemLines());
    }
}
