// SPDX-License-Identifier: GPL-3.0-or-later
// What an imported configuration would change in the document (template 165), in the list
// Compare with Radio shows; OK takes the file, Cancel keeps the document as it is.
#pragma once

#include <vector>

#include "codeplug/image_difference.h"
#include "common/dialog_builder.h"

class QListWidget;

class CConfigImportDlg : public TemplateDialog {
    Q_OBJECT
public:
    CConfigImportDlg(const std::vector<ImageDifference>& differences, QWidget* parent = nullptr);
    QListWidget* ChangeList() const;
};
