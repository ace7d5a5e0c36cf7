// Commands handled by dialogs that live outside the shell (transfers, port, test mode, FM
// presets, printing). Each registers its handler once from its own file; the main frame
// routes the command to it. A command nobody handles does nothing and is shown disabled.
#pragma once

#include <functional>

class CHalvexApp;

using CommandHandler = std::function<void(CHalvexApp& app)>;

// For a dialog's file: static const bool registered = RegisterCommandHandler(id, ...);
bool RegisterCommandHandler(int commandId, CommandHandler handler);

// nullptr when no handler is registered for the command.
const CommandHandler* FindRegisteredCommandHandler(int commandId);
