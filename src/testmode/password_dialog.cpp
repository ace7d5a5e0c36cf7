// SPDX-License-Identifier: GPL-3.0-or-later
#include "testmode/password_dialog.h"

#include <QLineEdit>
#include <optional>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "app/relabel.h"
#include "resources/command_ids.h"
#include "testmode/access_code.h"
#include "testmode/mode_dialog.h"

CPasswordDlg::CPasswordDlg(CHalvexApp& app, QWidget* parent)
    : TemplateDialog(kPasswordTemplate, parent),
      m_App(app),
      m_CodeEdit(FindControl<QLineEdit>(this, kPasswordEditId)) {
    RelabelDialog(this, kPasswordTemplate);
}

void CPasswordDlg::accept() {
    std::optional<TestModeMessage> refusal = CheckAccessCode(m_CodeEdit->text().toStdString());
    if (refusal) {
        ShowTestModeMessage(this, *refusal);
        return;
    }
    CTestModeDlg dialog(m_App, this);
    dialog.exec();
    // Leaving test mode goes back to the main window, not to the code just typed.
    TemplateDialog::accept();
}

void InstallTestModeCommand(CHalvexApp& app, CMainFrame& frame) {
    frame.SetCommandHandler(kCommandTestMode, [&app] {
        CPasswordDlg dialog(app, app.MainFrame());
        dialog.exec();
    });
}
