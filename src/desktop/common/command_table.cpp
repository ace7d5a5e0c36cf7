// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/command_table.h"

#include <QWidget>

CommandTable* WindowCommands(QWidget* widget) {
    return dynamic_cast<CommandTable*>(widget->window());
}
