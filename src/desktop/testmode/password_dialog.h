// SPDX-License-Identifier: GPL-3.0-or-later
// The access dialog in front of test mode (template 134). Only the exact access code opens
// the test dialog; this dialog stays open behind it and after it.
#pragma once

#include "common/dialog_builder.h"
#include "resources/ids/password_ids.h"

struct FeatureContext;
class QLineEdit;

class CPasswordDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CPasswordDlg(const FeatureContext& context, QWidget* parent = nullptr);

    // OK: the test dialog for the access code, otherwise the refusal; never ends this dialog.
    void accept() override;

private:
    const FeatureContext& m_Context;
    QLineEdit* m_CodeEdit;
};

// The Test mode command of the main frame: this dialog, owned by the frame.
void InstallTestModeCommand(const FeatureContext& context);
