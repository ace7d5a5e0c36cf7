// SPDX-License-Identifier: GPL-3.0-or-later
// The list of what differs between the document and the radio (template 136), shown after
// Program > Compare with Radio has read the radio into a scratch image.
#pragma once

#include <vector>

#include "codeplug/image_difference.h"
#include "common/dialog_builder.h"
#include "resources/ids/compare_ids.h"

class CCompareDlg : public TemplateDialog {
    Q_OBJECT
public:
    CCompareDlg(const std::vector<ImageDifference>& differences, QWidget* parent = nullptr);
};
