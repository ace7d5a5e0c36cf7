// The port dialog (template 130): COM1-COM8, those that cannot be opened now disabled, and the
// hidden search switch. It closes the program's port before probing, so a port left open by
// test mode shows as free.
#pragma once

#include <string>

#include "app/dialog_builder.h"

class CHalvexApp;

constexpr int kPortTemplate = 130;
constexpr int kFirstPortButtonId = 1001;
constexpr int kPortButtonCount = 8;
constexpr int kSearchCheckBoxId = 1012;

// The radio button of COMn.
constexpr int PortButtonId(int n) {
    return kFirstPortButtonId - 1 + n;
}

class CPortDlg : public TemplateDialog {
    Q_OBJECT
public:
    CPortDlg(CHalvexApp& app, QWidget* parent = nullptr);

    // Stores the chosen port when it changed and shows the stored one in the port pane.
    void accept() override;

private:
    void OnSearchClicked(bool checked);
    void ShowWriteError(const std::string& error);

    CHalvexApp& m_App;
};
