// SPDX-License-Identifier: GPL-3.0-or-later
// Where the features put their commands: each id's handler and the test of whether it
// applies. The main window implements it; features see nothing else of the window.
#pragma once

#include <functional>

class QAction;
class QWidget;

class CommandTable {
public:
    // A command without a handler does nothing.
    virtual void SetCommandHandler(int commandId, std::function<void()> handler) = 0;
    // Greys the command while isEnabled says no; its keys then do nothing either.
    virtual void SetCommandEnabler(int commandId, std::function<bool()> isEnabled) = 0;
    // The menu item of the command, for a check mark or a menu of the feature's own.
    virtual QAction* MenuAction(int commandId) const = 0;
    // Asks every command again whether it applies.
    virtual void UpdateCommandStates() = 0;

protected:
    ~CommandTable() = default;
};

// The command table of the window that holds widget; null outside the main window.
CommandTable* WindowCommands(QWidget* widget);
