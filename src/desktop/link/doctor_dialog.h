// SPDX-License-Identifier: GPL-3.0-or-later
// Program > Check Connection: the doctor runs on a worker in the frame of the transfer
// dialog (template 132), with a busy bar and Cancel, and its finding ends the dialog.
#pragma once

#include <optional>

#include "common/dialog_builder.h"
#include "link/cable_exchange.h"
#include "link/connection_doctor.h"
#include "link/exchange_follower.h"

struct FeatureContext;
class QAbstractButton;

class CDoctorDlg : public TemplateDialog {
    Q_OBJECT
public:
    CDoctorDlg(const FeatureContext& context, QWidget* parent = nullptr);

    // Cancel, Escape and the close box: the worker is asked to stop and the dialog ends once
    // it has.
    void reject() override;

private:
    void OnFinished();
    void ShowFinding();

    const FeatureContext& m_Context;
    QAbstractButton* m_CancelButton;
    CancelFlag m_Cancel{0};
    // Written by the worker, read once it has returned.
    std::optional<Diagnosis> m_Diagnosis;
    // Last: it stops the worker before the members the worker writes go.
    ExchangeFollower m_Follower{m_Cancel};
};
