#include "app/accessible_names.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>

namespace {

constexpr const char* kNameLabel = "accessibleNameLabel";

}  // namespace

void SetAccessibleControlName(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
    if (qobject_cast<QComboBox*>(control) == nullptr || control->parentWidget() == nullptr) {
        return;
    }
    auto* label = control->parentWidget()->findChild<QLabel*>(
        QStringLiteral("%1%2").arg(QLatin1String(kNameLabel), control->objectName()),
        Qt::FindDirectChildrenOnly);
    if (label == nullptr) {
        label = new QLabel(control->parentWidget());
        label->setObjectName(
            QStringLiteral("%1%2").arg(QLatin1String(kNameLabel), control->objectName()));
        label->hide();
        label->setBuddy(control);
    }
    // A lone "&" would make the hidden label a keyboard shortcut.
    label->setText(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
}

void AnnounceLabelText(QLabel* label) {
    if (QAccessible::isActive()) {
        QAccessibleEvent event(label, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}
