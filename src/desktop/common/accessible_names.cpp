// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/accessible_names.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr const char* kNameLabel = "accessibleNameLabel";
constexpr const char* kGroupLabel = "accessibleGroupLabel";
constexpr const char* kRoleProperty = "accessibleRole";

// The never-shown label of kind that names control, made on first use.
QLabel* HiddenLabel(QWidget* control, const char* kind) {
    const QString name = QStringLiteral("%1%2").arg(QLatin1String(kind), control->objectName());
    auto* label = control->parentWidget()->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
    if (label == nullptr) {
        label = new QLabel(control->parentWidget());
        label->setObjectName(name);
        label->hide();
        label->setBuddy(control);
    }
    return label;
}

QString LabelText(const QString& text) {
    // A lone "&" would make the hidden label a keyboard shortcut.
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void UpdateEntryDescription(QComboBox* list) {
    if (list->accessibleDescription() != list->currentText()) {
        list->setAccessibleDescription(list->currentText());
    }
}

// An in-cell list is refilled with its signals blocked; the focus brings it up to date.
class EntryOnFocus : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            UpdateEntryDescription(static_cast<QComboBox*>(watched));
        }
        return false;
    }
};

QAccessibleInterface* RoleFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    const QVariant role = object != nullptr ? object->property(kRoleProperty) : QVariant();
    if (widget == nullptr || !role.isValid()) {
        return nullptr;
    }
    return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
}

}  // namespace

void SetAccessibleRole(QWidget* widget, QAccessible::Role role) {
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(RoleFactory);
        return true;
    }();
    widget->setProperty(kRoleProperty, static_cast<int>(role));
}

void SetAccessibleControlName(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
    if (qobject_cast<QComboBox*>(control) == nullptr || control->parentWidget() == nullptr) {
        return;
    }
    HiddenLabel(control, kNameLabel)->setText(LabelText(name));
}

void NameControlByGroup(QWidget* control, const QString& groupTitle) {
    if (control->parentWidget() == nullptr) {
        return;
    }
    QString name = QString(groupTitle).remove(QLatin1Char('&'));
    QLabel* label = HiddenLabel(control, kGroupLabel);
    for (QLabel* shown :
         control->parentWidget()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (shown != label && shown->buddy() == control && !shown->isHidden()) {
            name += QLatin1Char(' ') + shown->text().remove(QLatin1Char('&'));
        }
    }
    label->setText(LabelText(name));
    // A screen reader takes the first label in the parent's child order.
    label->lower();
}

void DescribeListEntry(QComboBox* list) {
    list->installEventFilter(new EntryOnFocus(list));
    QObject::connect(list, &QComboBox::currentIndexChanged, list, [list](int index) {
        UpdateEntryDescription(list);
        // This toolkit's notice of a changed description carries no text, so a screen reader
        // keeps quiet; the focus on the entry, as an open list gives it, is spoken.
        if (QAccessible::isActive() && index >= 0 && list->hasFocus() &&
            !list->view()->isVisible()) {
            QAccessibleEvent event(list->view(), QAccessible::Focus);
            event.setChild(index);
            QAccessible::updateAccessibility(&event);
        }
    });
}

void DescribeFieldText(QLineEdit* edit) {
    edit->setAccessibleDescription(edit->echoMode() == QLineEdit::Normal ? edit->text()
                                                                         : QString());
}

void AnnounceLabelText(QLabel* label) {
    if (QAccessible::isActive()) {
        QAccessibleEvent event(label, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}
