#include "link/link_commands.h"

#include "app/command_registry.h"
#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "link/port_dialog.h"
#include "link/transfer_dialog.h"
#include "resources/command_ids.h"

namespace {

void RunTransfer(CHalvexApp& app, bool read) {
    CTransferDlg dialog(app, read, app.MainFrame());
    dialog.exec();
}

[[maybe_unused]] const bool g_Registered = RegisterLinkCommands();

}  // namespace

bool RegisterLinkCommands() {
    RegisterCommandHandler(kCommandReadRadio, [](CHalvexApp& app) { RunTransfer(app, true); });
    RegisterCommandHandler(kCommandWriteRadio, [](CHalvexApp& app) { RunTransfer(app, false); });
    RegisterCommandHandler(kCommandPort, [](CHalvexApp& app) {
        CPortDlg dialog(app, app.MainFrame());
        dialog.exec();
    });
    return true;
}
