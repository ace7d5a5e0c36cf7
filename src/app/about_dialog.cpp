#include "app/about_dialog.h"

#include <QLabel>

#include "app/relabel.h"

CAboutDlg::CAboutDlg(QWidget* parent) : TemplateDialog(kAboutTemplate, parent) {
    RelabelDialog(this, kAboutTemplate);
    // The build this program came from, after the product version of the language text.
    auto* build = new QLabel(QStringLiteral("Build %1").arg(QStringLiteral(HALVEX_VERSION)), this);
    QRect product = FindControl<QLabel>(this, 1015)->geometry();
    build->setGeometry(product.translated(0, product.height() * 4));
}
