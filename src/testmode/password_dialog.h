// The access dialog in front of test mode (template 134). Only the exact access code opens
// the test dialog; this dialog stays open behind it and after it.
#pragma once

#include "app/dialog_builder.h"

class CHalvexApp;
class QLineEdit;

constexpr int kPasswordTemplate = 134;
constexpr int kPasswordEditId = 1063;

class CPasswordDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CPasswordDlg(CHalvexApp& app, QWidget* parent = nullptr);

    // OK: the test dialog for the access code, otherwise the refusal; never ends this dialog.
    void accept() override;

private:
    CHalvexApp& m_App;
    QLineEdit* m_CodeEdit;
};

// Plugs the Test mode command into the main frame's command table; the desktop program
// does it once before its frame is built.
bool RegisterTestModeCommand();
