#include "link/link_commands.h"

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "link/doctor_dialog.h"
#include "link/port_dialog.h"
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
}
