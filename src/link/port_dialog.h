// The port dialog (template 130): COM1-COM8, those that cannot be opened now disabled, and the
// hidden search switch. It closes the program's port before probing, so a port left open by
// test mode shows as free.
#pragma once

#include <string>

#include "app/dialog_builder.h"
#include "resources/ids/port_ids.h"

class CHalvexApp;

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
