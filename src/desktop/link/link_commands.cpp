// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/link_commands.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <string>

#include "common/command_table.h"
#include "common/feature_context.h"
#include "common/message_box.h"
#include "config/language.h"
#include "config/setting_definitions.h"
#include "link/doctor_dialog.h"
#include "link/port_dialog.h"
#include "link/radio_connection.h"
#include "link/transfer_dialog.h"
#include "resources/command_ids.h"

namespace {

void RunTransfer(const FeatureContext& context, TransferMode mode) {
    // A read replaces the document: unsaved edits are offered a save first, as New and Open do.
    if (mode == TransferMode::Read && !context.saveModified()) {
        return;
    }
    CTransferDlg dialog(context, mode, context.window);
    dialog.exec();
}

// The check follows the file, which users also edit by hand while the program runs.
void ShowCableType(const FeatureContext& context) {
    bool direct = CableFromSettings(context.settingsPath) == CableType::Direct;
    context.commands.MenuAction(kCommandCableDirect)->setChecked(direct);
    context.commands.MenuAction(kCommandCableEcho)->setChecked(!direct);
}

void StoreCableType(const FeatureContext& context, int rwtype) {
    std::string error;
    if (!settings::kRwType.Write(context.settingsPath, std::to_string(rwtype), &error)) {
        MessageBox::Show(context.window, error, LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                         MessageButtons::Ok);
    }
    ShowCableType(context);
}

void InstallCableTypeCommands(const FeatureContext& context) {
    CommandTable& commands = context.commands;
    auto* group = new QActionGroup(context.window);
    for (int command : {kCommandCableDirect, kCommandCableEcho}) {
        QAction* action = commands.MenuAction(command);
        action->setCheckable(true);
        group->addAction(action);
    }
    if (auto* menu = qobject_cast<QMenu*>(commands.MenuAction(kCommandCableDirect)->parent())) {
        QObject::connect(menu, &QMenu::aboutToShow, context.window,
                         [&context] { ShowCableType(context); });
    }
    commands.SetCommandHandler(kCommandCableDirect, [&context] { StoreCableType(context, 1); });
    commands.SetCommandHandler(kCommandCableEcho, [&context] { StoreCableType(context, 2); });
    ShowCableType(context);
}

}  // namespace

void InstallLinkCommands(const FeatureContext& context) {
    CommandTable& commands = context.commands;
    commands.SetCommandHandler(kCommandReadRadio,
                               [&context] { RunTransfer(context, TransferMode::Read); });
    commands.SetCommandHandler(kCommandWriteRadio,
                               [&context] { RunTransfer(context, TransferMode::Write); });
    commands.SetCommandHandler(kCommandCompareRadio,
                               [&context] { RunTransfer(context, TransferMode::Compare); });
    commands.SetCommandHandler(kCommandCheckConnection, [&context] {
        CDoctorDlg dialog(context, context.window);
        dialog.exec();
    });
    commands.SetCommandHandler(kCommandPort, [&context] {
        CPortDlg dialog(context, context.window);
        dialog.exec();
    });
    InstallCableTypeCommands(context);
}
