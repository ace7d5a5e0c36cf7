// SPDX-License-Identifier: GPL-3.0-or-later
// The port dialog (template 130): COM1-COM8, those that cannot be opened now disabled, each
// with the device it opens; the serial devices found, any of which can be chosen by name;
// and the hidden search switch. It closes the program's port before probing, so a port left
// open by test mode shows as free.
#pragma once

#include <string>

#include "common/dialog_builder.h"
#include "resources/ids/port_ids.h"

struct FeatureContext;
class QListWidget;

class CPortDlg : public TemplateDialog {
    Q_OBJECT
public:
    CPortDlg(const FeatureContext& context, QWidget* parent = nullptr);

    // Stores the chosen device, or the chosen port with the device cleared, when that
    // changes anything, and shows the port in use in the port pane.
    void accept() override;

    // Lists the serial devices present again, keeping the chosen one chosen.
    void RefreshDevices();

private:
    void ShowMappings();
    void ShowInUse();
    void OnPortClicked();
    void OnDeviceChosen();
    void OnSearchClicked(bool checked);
    // Any of the setting definitions; a failed write is shown in a box.
    template <typename Setting>
    bool StoreSetting(const Setting& setting, const std::string& value);
    void ShowWriteError(const std::string& error);

    const FeatureContext& m_Context;
    QListWidget* m_Devices;
};
