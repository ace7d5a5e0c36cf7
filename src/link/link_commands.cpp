#include "link/link_commands.h"

#include "app/command_registry.h"
#include "app/halvex_app.h"
#include "app/main_frame.h"
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

[[maybe_unused]] const bool g_Registered = RegisterLinkCommands();

}  // namespace

bool RegisterLinkCommands() {
    RegisterCommandHandler(kCommandReadRadio,
                           [](CHalvexApp& app) { RunTransfer(app, TransferMode::Read); });
    RegisterCommandHandler(kCommandWriteRadio,
                           [](CHalvexApp& app) { RunTransfer(app, TransferMode::Write); });
    RegisterCommandHandler(kCommandCompareRadio,
                           [](CHalvexApp& app) { RunTransfer(app, TransferMode::Compare); });
    RegisterCommandHandler(kCommandPort, [](CHalvexApp& app) {
        CPortDlg dialog(app, app.MainFrame());
        dialog.exec();
    });
    return true;
}
