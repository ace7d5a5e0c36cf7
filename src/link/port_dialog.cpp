#include "link/port_dialog.h"

#include <QCheckBox>
#include <QRadioButton>
#include <string>

#include "app/halvex_app.h"
#include "app/language.h"
#include "app/main_frame.h"
#include "app/message_box.h"
#include "app/relabel.h"
#include "app/settings.h"
#include "link/clone_frames.h"
#include "link/serial_port.h"

CPortDlg::CPortDlg(CHalvexApp& app, QWidget* parent)
    : TemplateDialog(kPortTemplate, parent), m_App(app) {
    RelabelDialog(this, kPortTemplate);
    int stored = ReadSetupInt("com", 1);
    // Our own hold on a port would make it look taken.
    m_App.m_Port.Close();
    for (int n = 1; n <= kPortButtonCount; ++n) {
        auto* button = FindControl<QRadioButton>(this, PortButtonId(n));
        if (n == stored) {
            button->setChecked(true);
        }
        if (m_App.m_Port.Open(n, clone_frames::kBaudRate)) {
            m_App.m_Port.Close();
            button->setChecked(n == stored);
        } else {
            button->setEnabled(false);
        }
    }
    auto* search = FindControl<QCheckBox>(this, kSearchCheckBoxId);
    search->setChecked(ReadSetupInt("searchcom", 1) != 0);
    connect(search, &QCheckBox::clicked, this, &CPortDlg::OnSearchClicked);
}

void CPortDlg::accept() {
    int stored = ReadSetupInt("com", 1);
    for (int n = 1; n <= kPortButtonCount; ++n) {
        if (!FindControl<QRadioButton>(this, PortButtonId(n))->isChecked()) {
            continue;
        }
        if (n != stored) {
            m_App.m_Port.Close();
            std::string error;
            if (!WriteSetupString("com", std::to_string(n), &error)) {
                ShowWriteError(error);
            }
        }
        break;
    }
    if (CMainFrame* frame = m_App.MainFrame()) {
        frame->SetPortPane(ReadSetupInt("com", 1));
    }
    TemplateDialog::accept();
}

void CPortDlg::OnSearchClicked(bool checked) {
    std::string error;
    if (!WriteSetupString("searchcom", checked ? "1" : "0", &error)) {
        ShowWriteError(error);
    }
}

void CPortDlg::ShowWriteError(const std::string& error) {
    MessageBox::Show(this, error, LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                     MessageButtons::Ok);
}
