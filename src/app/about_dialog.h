// The about box (template 100): product name and version, relabelled from the language file.
#pragma once

#include "app/dialog_builder.h"

constexpr int kAboutTemplate = 100;
// The product line; its "%s" stands for the program's version.
constexpr int kAboutProductId = 1015;

class CAboutDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent);
};
