// SPDX-License-Identifier: GPL-3.0-or-later
// The language dialog (template 131): the display names of the language files beside the
// program, the current one selected. OK makes the chosen one current; no choice, no change.
#pragma once

#include <functional>

#include "common/dialog_builder.h"
#include "resources/ids/language_ids.h"

class CLanguageDlg : public TemplateDialog {
    Q_OBJECT
public:
    // applyLanguage runs after OK has switched the language file.
    CLanguageDlg(QWidget* parent, std::function<void()> applyLanguage);

    void accept() override;

private:
    std::function<void()> m_ApplyLanguage;
};
