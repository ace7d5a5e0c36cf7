// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/dialog_template.h"

const DialogTemplate* FindDialogTemplate(int id) {
    for (auto group : {ShellDialogTemplates(), PageDialogTemplates(), ToolDialogTemplates(),
                       EditDialogTemplates()}) {
        for (const DialogTemplate& dialog : group) {
            if (dialog.id == id) {
                return &dialog;
            }
        }
    }
    return nullptr;
}
