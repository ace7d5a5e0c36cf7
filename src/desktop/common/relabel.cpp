// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/relabel.h"

#include <QString>
#include <QWidget>

#include "common/accessible_names.h"
#include "common/dialog_builder.h"
#include "config/app_globals.h"
#include "config/language.h"

void RelabelDialog(QWidget* window, int templateId) {
    std::string caption = LoadResourceText(templateId);
    if (!caption.empty()) {
        window->setWindowTitle(QString::fromStdString(caption));
    }
    for (QObject* child : window->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control == nullptr || ControlId(control) < 0) {
            continue;
        }
        std::string text = LoadResourceText(ControlId(control));
        if (!text.empty()) {
            SetControlText(control, QString::fromStdString(text));
        }
        // Controls with no label of their own.
        std::string name =
            LoadLangText(g_LanguagePath, "AccessibleName", std::to_string(ControlId(control)), "",
                         kResourceBufferSize);
        if (!name.empty()) {
            SetAccessibleControlName(control, QString::fromStdString(name));
        }
    }
}
