// SPDX-License-Identifier: GPL-3.0-or-later
// The about box (template 100): product name and version, relabelled from the language file.
#pragma once

#include "common/dialog_builder.h"
#include "resources/ids/about_ids.h"

class CAboutDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent);
};
