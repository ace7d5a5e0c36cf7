// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/doctor_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>

#include "common/feature_context.h"
#include "common/message_box.h"
#include "common/relabel.h"
#include "config/language.h"
#include "link/doctor_messages.h"
#include "link/serial_port.h"
#include "resources/ids/transfer_ids.h"

CDoctorDlg::CDoctorDlg(const FeatureContext& context, QWidget* parent)
    : TemplateDialog(kTransferTemplate, parent),
      m_Context(context),
      m_CancelButton(FindControl<QAbstractButton>(this, kIdCancel)) {
    RelabelDialog(this, kTransferTemplate);
    setWindowTitle(QString::fromStdString(LoadLangString("IDS_DOCTOR_TITLE")));
    FindControl<QCheckBox>(this, kTransferVerifyId)->setVisible(false);
    FindControl<QAbstractButton>(this, kIdOk)->setEnabled(false);
    FindControl<QLabel>(this, kTransferMessageId)
        ->setText(QString::fromStdString(LoadLangString("IDS_DOCTOR_CHECKING")));
    // A busy bar: the checks have no share of a whole to show.
    FindControl<QProgressBar>(this, kTransferProgressId)->setRange(0, 0);
    // The doctor opens the port itself; one left open by test mode would look held.
    m_Context.port.Close();
    DoctorRequest request =
        DoctorRequestForSettings(m_Context.settingsPath, m_Context.port.PortsFolder());
    DeviceRoots roots = m_Context.deviceRoots;
    connect(&m_Follower, &ExchangeFollower::Finished, this, &CDoctorDlg::OnFinished);
    m_Follower.Start([this, request, roots] {
        m_Diagnosis = DiagnoseConnection(request, CurrentSystem(roots), &m_Cancel);
    });
}

void CDoctorDlg::reject() {
    m_Follower.Cancel();
    m_CancelButton->setEnabled(false);
}

void CDoctorDlg::OnFinished() {
    if (m_Cancel.load(std::memory_order_acquire) != 0) {
        TemplateDialog::reject();
        return;
    }
    ShowFinding();
    done(QDialog::Accepted);
}

void CDoctorDlg::ShowFinding() {
    if (!m_Diagnosis || m_Diagnosis->cause == DoctorCause::Cancelled) {
        return;
    }
    if (m_Diagnosis->cause == DoctorCause::RadioFound) {
        MessageBox::Show(this, DoctorFoundMessage(*m_Diagnosis), LoadLangString("IDS_PROMPT"),
                         MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    ShowDoctorBox(this, DoctorMessage(*m_Diagnosis), *m_Diagnosis, m_Context.settingsPath);
}
