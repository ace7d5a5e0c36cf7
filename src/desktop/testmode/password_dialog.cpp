// SPDX-License-Identifier: GPL-3.0-or-later
#include "testmode/password_dialog.h"

#include <QLineEdit>
#include <optional>

#include "common/command_table.h"
#include "common/feature_context.h"
#include "common/relabel.h"
#include "resources/command_ids.h"
#include "testmode/access_code.h"
#include "testmode/mode_dialog.h"

CPasswordDlg::CPasswordDlg(const FeatureContext& context, QWidget* parent)
    : TemplateDialog(kPasswordTemplate, parent),
      m_Context(context),
      m_CodeEdit(FindControl<QLineEdit>(this, kPasswordEditId)) {
    RelabelDialog(this, kPasswordTemplate);
}

void CPasswordDlg::accept() {
    std::optional<TestModeMessage> refusal = CheckAccessCode(m_CodeEdit->text().toStdString());
    if (refusal) {
        ShowTestModeMessage(this, *refusal);
        return;
    }
    CTestModeDlg dialog(m_Context, this);
    dialog.exec();
    // Leaving test mode goes back to the main window, not to the code just typed.
    TemplateDialog::accept();
}

void InstallTestModeCommand(const FeatureContext& context) {
    context.commands.SetCommandHandler(kCommandTestMode, [&context] {
        CPasswordDlg dialog(context, context.window);
        dialog.exec();
    });
}
