// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/transfer_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <vector>

#include "codeplug/image_difference.h"
#include "codeplug/read_backups.h"
#include "codeplug/write_risk.h"
#include "common/accessible_names.h"
#include "common/feature_context.h"
#include "common/message_box.h"
#include "common/relabel.h"
#include "config/language.h"
#include "config/setting_definitions.h"
#include "editors/difference_text.h"
#include "link/clone_frames.h"
#include "link/clone_protocol.h"
#include "link/compare_dialog.h"
#include "link/doctor_messages.h"
#include "link/serial_port.h"
#include "link/transfer_words.h"
#include "link/write_verify.h"

namespace {

// The search shows the port being tried as a row of up to 15 dots.
constexpr int kSearchDotCycle = 16;

bool IsConnectionFailure(TransferStatus status) {
    return status == StatusPortError || status == StatusIdentError || status == StatusEchoCable;
}

std::string CurrentLanguageText(const char* key) {
    return LoadLangString(key);
}

}  // namespace

CTransferDlg::CTransferDlg(const FeatureContext& context, bool read, QWidget* parent)
    : CTransferDlg(context, read ? TransferMode::Read : TransferMode::Write, parent) {}

CTransferDlg::CTransferDlg(const FeatureContext& context, TransferMode mode, QWidget* parent)
    : TemplateDialog(kTransferTemplate, parent),
      m_Context(context),
      m_Mode(mode),
      m_VerifyBox(FindControl<QCheckBox>(this, kTransferVerifyId)),
      m_MessageLine(FindControl<QLabel>(this, kTransferMessageId)),
      m_ProgressBar(FindControl<QProgressBar>(this, kTransferProgressId)),
      m_OkButton(FindControl<QAbstractButton>(this, kIdOk)),
      m_CancelButton(FindControl<QAbstractButton>(this, kIdCancel)) {
    RelabelDialog(this, kTransferTemplate);
    // The instruction is what the dialog says, read out when it opens, not the progress bar's
    // name.
    m_MessageLine->setBuddy(nullptr);
    const char* titleKey = mode == TransferMode::Read    ? "IDS_READDATA"
                           : mode == TransferMode::Write ? "IDS_WRITEDATA"
                                                         : "IDS_COMPAREDATA";
    setWindowTitle(QString::fromStdString(LoadLangString(titleKey)));
    m_VerifyBox->setVisible(mode == TransferMode::Write);
    m_VerifyBox->setChecked(settings::kVerifyWrite.Read(m_Context.settingsPath) != 0);
    connect(m_VerifyBox, &QCheckBox::toggled, this, &CTransferDlg::OnVerifyToggled);
    m_ProgressBar->setRange(0, kTransferProgressRange);
    m_ProgressBar->setValue(0);
    connect(&m_Follower, &ExchangeFollower::Progressed, this, &CTransferDlg::OnProgress);
    connect(&m_Follower, &ExchangeFollower::Finished, this, &CTransferDlg::OnFinished);
}

CTransferDlg::~CTransferDlg() {
    // The worker writes into m_ImageCopy and m_Job and uses the port: all must outlive it.
    m_Follower.Stop();
    m_Context.port.Close();
}

TransferPhase CTransferDlg::Phase() const {
    if (m_Verifying) {
        return TransferPhase::Checking;
    }
    return ReadsRadio() ? TransferPhase::Reading : TransferPhase::Writing;
}

void CTransferDlg::SetMessage(const std::string& text) {
    const QString line = QString::fromStdString(text);
    if (line != m_MessageLine->text()) {
        m_MessageLine->setText(line);
        AnnounceLabelText(m_MessageLine);
    }
}

void CTransferDlg::accept() {
    if (m_Follower.Running()) {
        return;
    }
    if (!ReadsRadio() && !ConfirmErasingWrite()) {
        return;
    }
    CHalvexDoc& document = m_Context.document;
    document.PrepareImageUnrecorded();
    m_ImageCopy = document.Image().bytes;
    m_Verifying = false;
    m_AnsweredPort = -1;
    // A comparison reads into a scratch image: the document's stays as it is.
    m_RadioImage = m_ImageCopy;
    StartWorker(ReadsRadio(),
                m_Mode == TransferMode::Compare ? m_RadioImage.data() : m_ImageCopy.data());
}

void CTransferDlg::StartWorker(bool read, uint8_t* image) {
    m_Context.port.SetBaudRate(clone_frames::kBaudRate);
    m_Job.Reset(&m_Context.port, m_Context.settingsPath, read, image);
    SetMessage(TransferPromptText(Phase(), CurrentLanguageText));
    m_Diagnosis.reset();
    // A read-back that cannot connect has its own message; the doctor speaks for the rest.
    bool diagnose = !m_Verifying;
    std::string portsFolder = m_Context.port.PortsFolder();
    DoctorRequest request = DoctorRequestForSettings(m_Context.settingsPath, portsFolder);
    DeviceRoots roots = m_Context.deviceRoots;
    m_Follower.Start([this, diagnose, request, portsFolder, roots] {
        TransferThreadProc(m_Job);
        if (!diagnose || !IsConnectionFailure(m_Job.Status()) || m_Job.IsCancelled()) {
            return;
        }
        // The doctor opens the port itself; a port the search reached is the one that
        // answered wrongly.
        m_Job.port->Close();
        DoctorRequest target = request;
        if (m_Job.Status() != StatusPortError && m_Job.FoundPort() > 0) {
            target = DoctorRequestForPort(portsFolder, m_Job.FoundPort(), request.settingsPath);
        }
        m_Diagnosis = DiagnoseConnection(target, CurrentSystem(roots), &m_Job.cancel);
    });
    m_OkButton->setEnabled(false);
    // Unticked mid-write, the box would skip a check the user started the write with.
    m_VerifyBox->setEnabled(false);
}

bool CTransferDlg::ConfirmErasingWrite() {
    if (!WouldEraseRadio(m_Context.document.Image(), m_Context.document.GetChannelCount())) {
        return true;
    }
    return MessageBox::Show(this, LoadLangString("IDS_WARN_ERASE"), LoadLangString("IDS_CONFIRM"),
                            MessageIcon::Exclamation,
                            MessageButtons::OkCancel) == MessageAnswer::Ok;
}

void CTransferDlg::OnVerifyToggled(bool checked) {
    std::string error;
    if (!settings::kVerifyWrite.Write(m_Context.settingsPath, checked ? "1" : "0", &error)) {
        MessageBox::Show(this, LoadLangString("IDS_WARN_SETTING") + error,
                         LoadLangString("IDS_ERROR"), MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

bool CTransferDlg::OnCheckStatus(TransferStatus status) {
    if (status == StatusWriteDone && !m_Verifying && m_VerifyBox->isChecked()) {
        // A second complete dialogue.
        EndRun();
        m_Verifying = true;
        PrepareReadBackImage(m_ImageCopy.data(), m_RadioImage.data());
        StartWorker(true, m_RadioImage.data());
        return true;
    }
    // Every ending of the read-back is reported here: the write itself is done, and a check
    // that could not run must not read as a radio holding other data.
    if (m_Verifying && IsFinalStatus(status)) {
        EndRun();
        ShowWorkerWarning();
        m_Verifying = false;
        TransferOutcome check{.status = status, .read = false, .checked = true};
        check.checkUnread = status != StatusReadDone;
        if (!check.checkUnread) {
            check.differingBlocks = DifferingBlocks(m_ImageCopy.data(), m_RadioImage.data());
        }
        const TransferWords words = TransferOutcomeWords(check, CurrentLanguageText);
        if (words.ending == TransferEnding::Done) {
            FinishWithLine(words.text);
            return true;
        }
        SetMessage(words.text);
        m_OkButton->setEnabled(true);
        return true;
    }
    if (m_Mode == TransferMode::Compare && status == StatusReadDone) {
        EndRun();
        ShowWorkerWarning();
        CHalvexDoc radio(m_Context.document);
        radio.EditImage().bytes = m_RadioImage;
        CCompareDlg results(DiffImagesInLanguage(m_Context.document, radio), this);
        results.exec();
        done(kTransferEnded);
        return true;
    }
    return false;
}

void CTransferDlg::KeepBackup() {
    std::string error;
    if (!KeepReadBackup(m_Context.backupFolder, m_ImageCopy, &error)) {
        MessageBox::Show(this, LoadLangString("IDS_WARN_BACKUP") + error,
                         LoadLangString("IDS_PROMPT"), MessageIcon::Exclamation,
                         MessageButtons::Ok);
    }
}

void CTransferDlg::reject() {
    if (m_Finishing) {
        done(kTransferEnded);
        return;
    }
    if (m_Cancelling) {
        return;
    }
    if (m_Follower.Running() && !ConfirmStop()) {
        return;
    }
    if (!m_Follower.Running()) {
        EndRun();
        TemplateDialog::reject();
        return;
    }
    // The worker stops at its next look at the flag; the follower ends the dialog after that,
    // so the window stays responsive meanwhile.
    m_Follower.Cancel();
    m_Cancelling = true;
    m_OkButton->setEnabled(false);
    m_CancelButton->setEnabled(false);
}

bool CTransferDlg::ConfirmStop() {
    if (m_Mode != TransferMode::Write || m_Verifying || m_Job.Blocks() == 0) {
        return true;
    }
    m_Follower.Pause();
    bool stop =
        MessageBox::Show(this, LoadLangString("IDS_ASK_STOPWRITE"), LoadLangString("IDS_CONFIRM"),
                         MessageIcon::Exclamation, MessageButtons::YesNo) == MessageAnswer::Yes;
    m_Follower.Resume();
    return stop;
}

std::string CTransferDlg::AnsweredPortText() const {
    return m_AnsweredPort > 0 ? LoadLangStringWith("IDS_PORT_ANSWERED", {m_AnsweredPort})
                              : std::string();
}

void CTransferDlg::FinishWithLine(std::string text) {
    m_Finishing = true;
    m_OkButton->setEnabled(false);
    if (m_AnsweredPort > 0) {
        text += '\n';
        text += AnsweredPortText();
    }
    SetMessage(text);
    m_ProgressBar->setValue(kTransferProgressRange);
    // A screen reader speaks only what takes the focus: the result line takes it, so the user
    // hears "Read done" before the dialog closes, not only "100 percent".
    m_MessageLine->setFocusPolicy(Qt::TabFocus);
    m_MessageLine->setFocus(Qt::OtherFocusReason);
    QTimer::singleShot(m_DoneLineMs, this, [this] {
        if (isVisible()) {
            done(kTransferEnded);
        }
    });
}

void CTransferDlg::OnProgress() {
    if (m_Cancelling) {
        return;
    }
    if (m_Job.FoundPort() > 0) {
        m_Context.showSearchedPort(m_Job.Progress());
        m_PaneMoved = true;
    }
    TransferStatus status = m_Job.Status();
    if (status == StatusReadProgress || status == StatusWriteProgress) {
        int progress = m_Job.Progress();
        SetMessage(TransferProgressText(Phase(), progress, CurrentLanguageText));
        m_ProgressBar->setValue(progress * kTransferProgressRange / 100);
    } else if (status == StatusSearching) {
        SetMessage(LoadLangString("IDS_SEARCHCOMPORT") +
                   std::string(static_cast<size_t>(m_Job.Progress() % kSearchDotCycle), '.'));
    } else if (IsConnectionFailure(status) && m_Follower.Running()) {
        SetMessage(LoadLangString("IDS_DOCTOR_CHECKING"));
    }
}

void CTransferDlg::OnFinished() {
    if (m_Cancelling) {
        OnWorkerStopped();
        return;
    }
    if (m_Job.AnsweredPort() > 0) {
        m_AnsweredPort = m_Job.AnsweredPort();
    }
    OnFinalStatus(m_Job.Status());
    // The status bar keeps it after the dialog has gone; the pages' reload clears the bar, so
    // it is set last.
    if (m_AnsweredPort > 0) {
        m_Context.showNote(QString::fromStdString(AnsweredPortText()));
    }
}

void CTransferDlg::OnFinalStatus(TransferStatus status) {
    if (OnCheckStatus(status)) {
        return;
    }
    EndRun();
    // The open error the worker kept is the doctor's first finding, told better by it.
    if (!m_Diagnosis || DoctorMessage(*m_Diagnosis).empty()) {
        ShowWorkerWarning();
    }
    const TransferOutcome outcome{.status = status,
                                  .read = ReadsRadio(),
                                  .blocks = m_Job.Blocks(),
                                  .skippedBlocks = m_Job.skippedBlocks};
    const TransferWords words = TransferOutcomeWords(outcome, CurrentLanguageText);
    switch (words.ending) {
        case TransferEnding::NoConnection:
            ShowConnectionFailure(words.text, status);
            break;
        case TransferEnding::Failed:
            SetMessage(words.text);
            m_OkButton->setEnabled(true);
            return;
        case TransferEnding::Done:
            if (status == StatusReadDone) {
                m_Context.takeRadioImage(m_ImageCopy);
                KeepBackup();
            }
            FinishWithLine(words.text);
            return;
        case TransferEnding::Quiet:
        case TransferEnding::Stopped:
        case TransferEnding::Unexpected:
            break;
    }
    done(kTransferEnded);
}

void CTransferDlg::OnWorkerStopped() {
    EndRun();
    if (m_Mode != TransferMode::Write || m_Verifying) {
        TemplateDialog::reject();
        return;
    }
    // A cancel after the radio took every block and the end byte came too late to stop
    // anything: the write is done, though the check it asked for is not run.
    const TransferStatus status = m_Job.Status();
    const TransferOutcome outcome{.status = status,
                                  .read = false,
                                  .cancelled = status != StatusWriteDone,
                                  .blocks = m_Job.Blocks()};
    const TransferWords words = TransferOutcomeWords(outcome, CurrentLanguageText);
    if (words.ending == TransferEnding::Done) {
        m_Cancelling = false;
        FinishWithLine(words.text);
        return;
    }
    if (words.ending == TransferEnding::Stopped) {
        MessageBox::Show(this, words.text, LoadLangString("IDS_PROMPT"), MessageIcon::Exclamation,
                         MessageButtons::Ok);
    }
    TemplateDialog::reject();
}

void CTransferDlg::EndRun() {
    m_VerifyBox->setEnabled(true);
    m_Context.port.Close();
    // The pane followed the ports the search tried; it shows the port in use again, which
    // the worker stored only if the radio answered there.
    if (m_PaneMoved) {
        m_PaneMoved = false;
        m_Context.showConfiguredPort();
    }
}

void CTransferDlg::ShowConnectionFailure(const std::string& text, TransferStatus status) {
    std::string doctor = m_Diagnosis ? DoctorMessage(*m_Diagnosis) : std::string();
    if (doctor.empty()) {
        MessageBox::Show(this, text, LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                         MessageButtons::Ok);
        return;
    }
    // A radio that answered only with the other cable type is no unsupported model: the
    // doctor's words alone say what is wrong.
    if (status == StatusIdentError && OffersCableSwitch(*m_Diagnosis)) {
        ShowDoctorBox(this, doctor, *m_Diagnosis, m_Context.settingsPath);
        return;
    }
    ShowDoctorBox(this, text + "\n\n" + doctor, *m_Diagnosis, m_Context.settingsPath);
}

void CTransferDlg::ShowWorkerWarning() {
    if (!m_Job.warning.empty()) {
        MessageBox::Show(this, m_Job.warning, LoadLangString("IDS_ERROR"), MessageIcon::Exclamation,
                         MessageButtons::Ok);
    }
}
