// SPDX-License-Identifier: GPL-3.0-or-later
// The about box (template 100): product name and version, relabelled from the language file.
#pragma once

#include "resources/ids/about_ids.h"
#include "support/dialog_builder.h"

class CAboutDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent);
};
