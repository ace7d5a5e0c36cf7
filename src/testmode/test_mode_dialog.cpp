#include "testmode/test_mode_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>

#include "app/app_globals.h"
#include "app/halvex_app.h"
#include "app/language.h"
#include "app/message_box.h"
#include "app/relabel.h"

namespace {

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

bool IsScrollKey(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        default:
            return false;
    }
}

}  // namespace

void ShowTestModeMessage(QWidget* owner, const TestModeMessage& message) {
    // The application's title is the one the main window shows in this language.
    std::string caption = message.captionKey.empty() ? LoadLangString("IDS_WINDOWNAME")
                                                     : LoadLangString(message.captionKey);
    MessageBox::Show(owner, LoadLangString(message.textKey), caption,
                     message.stopIcon ? MessageIcon::Stop : MessageIcon::None, MessageButtons::Ok);
}

CTestModeDlg::CTestModeDlg(CHalvexApp& app, QWidget* parent)
    : TemplateDialog(kTestModeTemplate, parent),
      m_App(app),
      m_Session(app.m_Port, g_SettingsPath, app.Document()),
      m_ItemList(FindControl<QListWidget>(this, kTestItemListId)),
      m_ValueEdit(FindControl<QLineEdit>(this, kTestValueEditId)),
      m_ValueBar(FindControl<QScrollBar>(this, kTestValueBarId)) {
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
    Fill();
}

CTestModeDlg::~CTestModeDlg() {
    m_Session.Close();
}

void CTestModeDlg::done(int result) {
    // Never leave the radio in test mode with the port held, however the dialog ends.
    m_Session.Close();
    TemplateDialog::done(result);
}

void CTestModeDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
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
            if (!key->isAutoRepeat() && IsScrollKey(key->key())) {
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
    if (row < 0) {
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
    if (m_Session.SelectedItem() < 0) {
        return;
    }
    if (m_Session.Scroll(ScrollCode::EndScroll, m_Session.Position())) {
        ShowLines(m_Session.ItemLines());
    }
}

template <typename Exchange>
void CTestModeDlg::RunExchange(Exchange exchange) {
    // The exchange blocks the window; the cursor says so.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TestModeOutcome outcome = (m_Session.*exchange)();
    QApplication::restoreOverrideCursor();
    ShowOutcome(outcome);
}

void CTestModeDlg::OnStartTestMode() {
    RunExchange(&TestModeSession::StartTestMode);
}

void CTestModeDlg::OnWriteAll() {
    RunExchange(&TestModeSession::WriteAll);
}

void CTestModeDlg::OnReadAll() {
    RunExchange(&TestModeSession::ReadAll);
}

void CTestModeDlg::OnOpenData() {
    m_App.OnFileOpen();
    Fill();
}

void CTestModeDlg::OnSaveData() {
    m_App.OnFileSave();
}

void CTestModeDlg::ShowOutcome(const TestModeOutcome& outcome) {
    if (!outcome.warning.empty()) {
        MessageBox::Show(this, outcome.warning, LoadLangString("IDS_ERROR"),
                         MessageIcon::Exclamation, MessageButtons::Ok);
    }
    if (outcome.message) {
        ShowTestModeMessage(this, *outcome.message);
    }
    if (outcome.refill) {
        ShowLines(m_Session.ItemLines());
    }
}
