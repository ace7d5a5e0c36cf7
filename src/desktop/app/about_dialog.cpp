// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about_dialog.h"

#include <QLabel>

#include "common/relabel.h"

CAboutDlg::CAboutDlg(QWidget* parent) : TemplateDialog(kAboutTemplate, parent) {
    RelabelDialog(this, kAboutTemplate);
    // The language texts leave the version to the build, so every program names the same one.
    auto* product = FindControl<QLabel>(this, kAboutProductId);
    product->setText(product->text().replace(QStringLiteral("%s"), QStringLiteral(HALVEX_VERSION)));
}
