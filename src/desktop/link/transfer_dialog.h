// SPDX-License-Identifier: GPL-3.0-or-later
// The Read and Write dialog (template 132): OK runs one clone exchange on a worker thread that
// an exchange follower follows. The worker and the dialog share only the job and the image copy;
// the dialog never closes the port, drops the copy or ends while the worker still runs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "codeplug/radio_image.h"
#include "common/dialog_builder.h"
#include "link/connection_doctor.h"
#include "link/exchange_follower.h"
#include "link/transfer_job.h"
#include "link/transfer_words.h"
#include "resources/ids/transfer_ids.h"

// How long "Write done" or "Read done" stays before the dialog closes by itself.
constexpr int kDoneLineMs = 1500;

struct FeatureContext;
class QAbstractButton;
class QCheckBox;
class QLabel;
class QProgressBar;

// The result of a dialog that ended by itself: an error, or a finished transfer.
constexpr int kTransferEnded = 5;
constexpr int kTransferProgressRange = 1024;

// Compare reads the radio into a scratch image and lists how it differs from the document.
enum class TransferMode { Read, Write, Compare };

class CTransferDlg : public TemplateDialog {
    Q_OBJECT
public:
    // read: radio to document; otherwise document to radio.
    CTransferDlg(const FeatureContext& context, bool read, QWidget* parent = nullptr);
    CTransferDlg(const FeatureContext& context, TransferMode mode, QWidget* parent = nullptr);
    ~CTransferDlg() override;

    // The OK button: starts a transfer unless one is running.
    void accept() override;
    // Cancel, Escape and the close box: asks the worker to stop and ends once it has.
    void reject() override;
    // How long the result line of a transfer that went well stays before the dialog closes;
    // tests that do not look at it shorten it.
    void SetDoneLineMs(int milliseconds) { m_DoneLineMs = milliseconds; }
    TransferMode Mode() const { return m_Mode; }

private:
    void StartWorker(bool read, uint8_t* image);
    bool ConfirmErasingWrite();
    void OnVerifyToggled(bool checked);
    // Handles the final statuses of a write's read-back and of a comparison; false for the
    // others, which the plain transfer handles.
    bool OnCheckStatus(TransferStatus status);
    void KeepBackup();
    void OnProgress();
    void OnFinished();
    void OnFinalStatus(TransferStatus status);
    void OnWorkerStopped();
    // Closes the port and puts the port pane back on the stored port if the search moved it.
    void EndRun();
    // The failure's text with the doctor's cause and cure added when it found one.
    void ShowConnectionFailure(const std::string& text, TransferStatus status);
    void ShowWorkerWarning();
    // A write that has sent blocks stops only when the user says so.
    bool ConfirmStop();
    // The done line stays a moment so it can be seen and spoken, then the dialog ends.
    void FinishWithLine(std::string text);
    void SetMessage(const std::string& text);
    // Which port answered when the search found the radio on another one than configured.
    std::string AnsweredPortText() const;
    TransferPhase Phase() const;
    // Read and Compare both read the radio.
    bool ReadsRadio() const { return m_Mode != TransferMode::Write; }

    const FeatureContext& m_Context;
    TransferMode m_Mode;
    // Set while the worker reads the radio back after a write.
    bool m_Verifying = false;
    QCheckBox* m_VerifyBox;
    QLabel* m_MessageLine;
    QProgressBar* m_ProgressBar;
    QAbstractButton* m_OkButton;
    QAbstractButton* m_CancelButton;

    std::array<uint8_t, kImageSize> m_ImageCopy{};
    // What the radio gave back, for a check after writing or a comparison.
    std::array<uint8_t, kImageSize> m_RadioImage{};
    TransferJob m_Job;
    // Written by the worker after a failed connection, read once it has returned.
    std::optional<Diagnosis> m_Diagnosis;
    ExchangeFollower m_Follower{m_Job.cancel};
    bool m_Cancelling = false;
    bool m_Finishing = false;
    bool m_PaneMoved = false;
    // The port the search found the radio on in this run, once the worker reports it; -1.
    int m_AnsweredPort = -1;
    int m_DoneLineMs = kDoneLineMs;
};
