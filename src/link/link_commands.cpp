// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/link_commands.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <string>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "app/message_box.h"
#include "config/app_globals.h"
#include "config/language.h"
#include "config/setting_definitions.h"
#include "link/doctor_dialog.h"
#include "link/port_dialog.h"
#include "link/radio_connection.h"
#include "link/transfer_dialog.h"
#include "resources/command_ids.h"

namespace {

void RunTransfer(CHalvexApp& app, TransferMode mode) {
    // A read replaces the document: unsaved edits are offered a save first, as New and Open do.
    if (mode == TransferMode::Read && !app.SaveModified()) {
        return;
    }
    CTransferDlg dialog(app, mode, app.MainFrame());
    dialog.exec();
}

// The check follows the file, which users also edit by hand while the program runs.
void ShowCableType(CMainFrame& frame) {
    bool direct = CableFromSettings(g_SettingsPath) == CableType::Direct;
    frame.MenuAction(kCommandCableDirect)->setChecked(direct);
    frame.MenuAction(kCommandCableEcho)->setChecked(!direct);
}

void StoreCableType(CMainFrame& frame, int rwtype) {
    std::string error;
    if (!settings::kRwType.Write(g_SettingsPath, std::to_string(rwtype), &error)) {
        MessageBox::Show(&frame, error, LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                         MessageButtons::Ok);
    }
    ShowCableType(frame);
}

void InstallCableTypeCommands(CMainFrame& frame) {
    auto* group = new QActionGroup(&frame);
    for (int command : {kCommandCableDirect, kCommandCableEcho}) {
        QAction* action = frame.MenuAction(command);
        action->setCheckable(true);
        group->addAction(action);
    }
    if (auto* menu = qobject_cast<QMenu*>(frame.MenuAction(kCommandCableDirect)->parent())) {
        QObject::connect(menu, &QMenu::aboutToShow, &frame, [&frame] { ShowCableType(frame); });
    }
    frame.SetCommandHandler(kCommandCableDirect, [&frame] { StoreCableType(frame, 1); });
    frame.SetCommandHandler(kCommandCableEcho, [&frame] { StoreCableType(frame, 2); });
    ShowCableType(frame);
}

}  // namespace

void InstallLinkCommands(CHalvexApp& app, CMainFrame& frame) {
    frame.SetCommandHandler(kCommandReadRadio, [&app] { RunTransfer(app, TransferMode::Read); });
    frame.SetCommandHandler(kCommandWriteRadio, [&app] { RunTransfer(app, TransferMode::Write); });
    frame.SetCommandHandler(kCommandCompareRadio,
                            [&app] { RunTransfer(app, TransferMode::Compare); });
    frame.SetCommandHandler(kCommandCheckConnection, [&app] {
        CDoctorDlg dialog(app, app.MainFrame());
        dialog.exec();
    });
    frame.SetCommandHandler(kCommandPort, [&app] {
        CPortDlg dialog(app, app.MainFrame());
        dialog.exec();
    });
    InstallCableTypeCommands(frame);
}
