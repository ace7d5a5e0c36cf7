#include "link/transfer_dialog.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>

#include "app/app_globals.h"
#include "app/halvex_app.h"
#include "app/language.h"
#include "app/main_frame.h"
#include "app/message_box.h"
#include "app/relabel.h"
#include "app/settings.h"
#include "link/clone_protocol.h"
#include "link/serial_port.h"

namespace {

constexpr int kTimerPeriodMs = 20;
constexpr int kBaudRate = 9600;
// The search shows the port being tried as a row of up to 15 dots.
constexpr int kSearchDotCycle = 16;

}  // namespace

CTransferDlg::CTransferDlg(CHalvexApp& app, bool read, QWidget* parent)
    : TemplateDialog(kTransferTemplate, parent),
      m_App(app),
      m_Read(read),
      m_MessageLine(FindControl<QLabel>(this, kTransferMessageId)),
      m_ProgressBar(FindControl<QProgressBar>(this, kTransferProgressId)),
      m_OkButton(FindControl<QAbstractButton>(this, kIdOk)),
      m_CancelButton(FindControl<QAbstractButton>(this, kIdCancel)) {
    RelabelDialog(this, kTransferTemplate);
    setWindowTitle(QString::fromStdString(LoadLangString(read ? "IDS_READDATA" : "IDS_WRITEDATA")));
    m_ProgressBar->setRange(0, kTransferProgressRange);
    m_ProgressBar->setValue(0);
    m_Timer.setInterval(kTimerPeriodMs);
    connect(&m_Timer, &QTimer::timeout, this, &CTransferDlg::OnTimer);
}

CTransferDlg::~CTransferDlg() {
    // The worker writes into m_ImageCopy and m_Job: both must outlive it.
    if (m_Worker.joinable()) {
        m_Job.Cancel();
        m_Worker.join();
    }
    m_Timer.stop();
    m_App.m_Port.Close();
}

const char* CTransferDlg::PromptKey() const {
    return m_Read ? "IDS_PROMPT_READ" : "IDS_PROMPT_WRITE";
}

void CTransferDlg::SetMessage(const std::string& text) {
    m_MessageLine->setText(QString::fromStdString(text));
}

void CTransferDlg::accept() {
    if (m_Worker.joinable()) {
        return;
    }
    CHalvexDoc& document = m_App.Document();
    document.PrepareImage();
    m_ImageCopy = document.bytes;
    m_App.m_Port.SetBaudRate(kBaudRate);
    m_Job.Reset(&m_App.m_Port, g_SettingsPath, m_Read, m_ImageCopy.data());
    SetMessage(LoadLangString(PromptKey()));
    m_WorkerReturned.store(false, std::memory_order_release);
    m_Worker = std::thread([this] {
        TransferThreadProc(m_Job);
        m_WorkerReturned.store(true, std::memory_order_release);
    });
    m_OkButton->setEnabled(false);
    m_Timer.start();
}

void CTransferDlg::reject() {
    if (m_Cancelling) {
        return;
    }
    if (!m_Worker.joinable()) {
        EndRun();
        TemplateDialog::reject();
        return;
    }
    // The worker stops at its next look at the flag; the timer ends the dialog after that,
    // so the window stays responsive meanwhile.
    m_Job.Cancel();
    m_Cancelling = true;
    m_OkButton->setEnabled(false);
    m_CancelButton->setEnabled(false);
}

void CTransferDlg::OnTimer() {
    // Read first: a worker that has returned published its last status before.
    bool returned = m_WorkerReturned.load(std::memory_order_acquire);
    if (m_Cancelling) {
        if (returned) {
            OnWorkerStopped();
        }
        return;
    }
    if (m_Job.FoundPort() > 0) {
        if (CMainFrame* frame = m_App.MainFrame()) {
            frame->SetPortPane(m_Job.Progress());
        }
        m_PaneMoved = true;
    }
    TransferStatus status = m_Job.Status();
    if (status == StatusReadProgress || status == StatusWriteProgress) {
        int progress = m_Job.Progress();
        SetMessage(LoadLangString(PromptKey()) + " " + std::to_string(progress) + "%");
        m_ProgressBar->setValue(progress * kTransferProgressRange / 100);
    } else if (status == StatusSearching) {
        SetMessage(LoadLangString("IDS_SEARCHCOMPORT") +
                   std::string(static_cast<size_t>(m_Job.Progress() % kSearchDotCycle), '.'));
    }
    if (returned) {
        OnFinalStatus(status);
    }
}

void CTransferDlg::OnFinalStatus(TransferStatus status) {
    EndRun();
    ShowWorkerWarning();
    switch (status) {
        case StatusPortError:
            ShowErrorBox("IDS_ERROR_PORTCONN");
            break;
        case StatusIdentError:
            ShowErrorBox("IDS_ERROR_TYPE");
            break;
        case StatusEchoCable:
            ShowErrorBox("IDS_ERROR_ECHOCABLE");
            break;
        case StatusReadFailed:
            SetMessage(ReadFailureText());
            m_OkButton->setEnabled(true);
            return;
        case StatusWriteFailed:
            SetMessage(LoadLangString("IDS_PROMPT_WRITEFAIL"));
            m_OkButton->setEnabled(true);
            return;
        case StatusReadDone:
            m_App.Document().bytes = m_ImageCopy;
            m_App.ApplyLanguage();
            break;
        default:
            break;
    }
    done(kTransferEnded);
}

void CTransferDlg::OnWorkerStopped() {
    EndRun();
    TemplateDialog::reject();
}

void CTransferDlg::EndRun() {
    m_Timer.stop();
    if (m_Worker.joinable()) {
        m_Worker.join();
    }
    m_App.m_Port.Close();
    // The pane followed the ports the search tried; it shows the port in use again, which
    // the worker stored only if the radio answered there.
    if (m_PaneMoved) {
        m_PaneMoved = false;
        if (CMainFrame* frame = m_App.MainFrame()) {
            frame->SetPortPane(ReadSetupInt("com", 1));
        }
    }
}

std::string CTransferDlg::ReadFailureText() const {
    if (m_Job.skippedBlocks.empty()) {
        return LoadLangString("IDS_PROMPT_READFAIL");
    }
    // The language file words it; %d takes the count and %s the first addresses.
    std::string text = LoadLangString("IDS_PROMPT_READSKIPPED");
    size_t count = text.find("%d");
    if (count != std::string::npos) {
        text.replace(count, 2, std::to_string(m_Job.skippedBlocks.size()));
    }
    size_t list = text.find("%s");
    if (list != std::string::npos) {
        text.replace(list, 2, SkippedBlockList(m_Job.skippedBlocks));
    }
    return text;
}

void CTransferDlg::ShowErrorBox(const char* textKey) {
    MessageBox::Show(this, LoadLangString(textKey), LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                     MessageButtons::Ok);
}

void CTransferDlg::ShowWorkerWarning() {
    if (!m_Job.warning.empty()) {
        MessageBox::Show(this, m_Job.warning, LoadLangString("IDS_ERROR"), MessageIcon::Exclamation,
                         MessageButtons::Ok);
    }
}
