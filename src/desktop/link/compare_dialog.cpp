// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/compare_dialog.h"

#include <QLabel>
#include <QListWidget>

#include "common/relabel.h"
#include "config/language.h"
#include "editors/difference_text.h"

CCompareDlg::CCompareDlg(const std::vector<ImageDifference>& differences, QWidget* parent)
    : TemplateDialog(kCompareTemplate, parent) {
    RelabelDialog(this, kCompareTemplate);
    auto* summary = FindControl<QLabel>(this, kCompareSummaryId);
    auto* list = FindControl<QListWidget>(this, kCompareListId);
    summary->setText(QString::fromStdString(
        LoadLangString(differences.empty() ? "IDS_COMPARE_SAME" : "IDS_COMPARE_DIFFER")));
    for (const ImageDifference& difference : differences) {
        list->addItem(QString::fromStdString(DifferenceText(difference)));
    }
}
