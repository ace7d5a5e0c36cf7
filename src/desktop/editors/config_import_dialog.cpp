// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/config_import_dialog.h"

#include <QLabel>
#include <QListWidget>

#include "common/relabel.h"
#include "config/language.h"
#include "editors/difference_text.h"
#include "resources/ids/config_import_ids.h"

CConfigImportDlg::CConfigImportDlg(const std::vector<ImageDifference>& differences, QWidget* parent)
    : TemplateDialog(kConfigImportTemplate, parent) {
    RelabelDialog(this, kConfigImportTemplate);
    FindControl<QLabel>(this, kConfigImportSummaryId)
        ->setText(QString::fromStdString(
            LoadLangString(differences.empty() ? "IDS_CONFIG_SAME" : "IDS_CONFIG_CHANGES")));
    for (const ImageDifference& difference : differences) {
        ChangeList()->addItem(QString::fromStdString(DifferenceText(difference)));
    }
}

QListWidget* CConfigImportDlg::ChangeList() const {
    return FindControl<QListWidget>(const_cast<CConfigImportDlg*>(this), kConfigImportListId);
}
