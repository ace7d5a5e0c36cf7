// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/dialog_builder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QValidator>
#include <string_view>

#include "common/accessible_names.h"
#include "resources/dialog_template.h"
#include "resources/frame_resources.h"

namespace {

constexpr const char* kSortedProperty = "sortedList";

class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

// An edit field whose text a screen reader hears in full when the user brings the focus; a
// program that moves the focus there itself (an in-cell editor) describes the text it puts in.
class FieldEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override {
        if (event->reason() != Qt::OtherFocusReason) {
            DescribeFieldText(this);
        }
        QLineEdit::focusInEvent(event);
    }
};

QWidget* CreateControl(const ControlTemplate& control, QWidget* parent) {
    QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
        case ControlKind::Static: {
            auto* label = new QLabel(caption, parent);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case ControlKind::Icon: {
            auto* label = new QLabel(parent);
            label->setPixmap(QPixmap(kApplicationIcon));
            return label;
        }
        case ControlKind::GroupBox:
            return new QGroupBox(caption, parent);
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton: {
            auto* button = new QPushButton(caption, parent);
            button->setDefault(control.kind == ControlKind::DefaultPushButton);
            button->setAutoDefault(false);
            return button;
        }
        case ControlKind::CheckBox:
            return new QCheckBox(caption, parent);
        case ControlKind::RadioButton:
            return new QRadioButton(caption, parent);
        case ControlKind::Edit: {
            auto* edit = new FieldEdit(caption, parent);
            edit->setReadOnly((control.style & kStyleReadOnly) != 0);
            if ((control.style & kStylePassword) != 0) {
                edit->setEchoMode(QLineEdit::Password);
            }
            if ((control.style & kStyleUpperCase) != 0) {
                edit->setValidator(new UpperCaseValidator(edit));
            }
            return edit;
        }
        case ControlKind::DropDownList: {
            auto* list = new QComboBox(parent);
            list->setProperty(kSortedProperty, (control.style & kStyleSorted) != 0);
            DescribeListEntry(list);
            return list;
        }
        case ControlKind::ListBox:
            return new QListWidget(parent);
        case ControlKind::HorizontalScrollBar:
            return new QScrollBar(Qt::Horizontal, parent);
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setTextVisible(false);
            return bar;
        }
        case ControlKind::TabControl:
            return new QTabWidget(parent);
        case ControlKind::Grid: {
            // Room for the grid control, which its page puts in place with ReplaceControl.
            auto* frame = new QFrame(parent);
            frame->setFrameShape(QFrame::StyledPanel);
            return frame;
        }
    }
    return new QWidget(parent);
}

// The controls a screen reader names by the static text placed just before them.
bool IsLabelledControl(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
        case ControlKind::DropDownList:
        case ControlKind::ListBox:
        case ControlKind::HorizontalScrollBar:
        case ControlKind::ProgressBar:
            return true;
        default:
            return false;
    }
}

void PlaceControl(QWidget* widget, const ControlTemplate& control, const DialogUnits& units) {
    QRect rect = units.ToPixels(control.x, control.y, control.width, control.height);
    if (auto* list = qobject_cast<QComboBox*>(widget)) {
        // The template height is that of the open list; the closed box is one line high.
        int lineHeight = list->sizeHint().height();
        list->setMaxVisibleItems(std::max(1, rect.height() / std::max(1, lineHeight) - 1));
        // Styles that open a list as a menu (Fusion among them) ignore that height and show
        // every tone at once, as tall as the screen.
        list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        rect.setHeight(lineHeight);
    }
    widget->setGeometry(rect);
}

}  // namespace

QRect DialogUnits::ToPixels(int x, int y, int cx, int cy) const {
    return QRect(x * averageWidth / 4, y * height / 8, cx * averageWidth / 4, cy * height / 8);
}

DialogUnits DialogUnitsOf(const QFont& font) {
    QFontMetrics metrics(font);
    // The average width of the Latin letters, as the dialog manager measures it.
    int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QFont ShrinkToTemplateCell(QFont font) {
    auto fits = [](const DialogUnits& units) {
        return units.averageWidth <= kTemplateCell.averageWidth &&
               units.height <= kTemplateCell.height;
    };
    while (font.pixelSize() > 1 && !fits(DialogUnitsOf(font))) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    return font;
}

QFont TemplateFont(const DialogTemplate& dialog) {
    // The templates were drawn for Windows faces of about 6 x 13 pixels per character; an
    // installed face of the same metrics keeps every label inside its rectangle.
    struct Substitute {
        std::string_view templateFace;
        const char* face;
        int pixelSize;
    };
    static constexpr Substitute kSubstitutes[] = {
        {"MS Sans Serif", "Liberation Sans", 11},
        {"宋体", "Liberation Sans", 11},
    };
    for (const Substitute& substitute : kSubstitutes) {
        if (substitute.templateFace == dialog.fontFace) {
            QFont font(QString::fromLatin1(substitute.face));
            font.setPixelSize(substitute.pixelSize);
            if (QFontInfo(font).family() != font.family()) {
                // The desktop's face is usually wider at the same size, and the main form
                // would outgrow the largest frame and need scroll bars.
                font = QApplication::font();
                font.setPixelSize(substitute.pixelSize);
                font = ShrinkToTemplateCell(font);
            }
            return font;
        }
    }
    QFont font = QApplication::font();
    font.setPointSize(dialog.fontPoints);
    return font;
}

bool BuildFromTemplate(QWidget* target, int templateId) {
    const DialogTemplate* dialog = FindDialogTemplate(templateId);
    if (dialog == nullptr) {
        return false;
    }
    QFont font = TemplateFont(*dialog);
    target->setFont(font);
    DialogUnits units = DialogUnitsOf(font);
    target->setFixedSize(units.ToPixels(0, 0, dialog->width, dialog->height).size());
    if (dialog->kind == DialogKind::Modal) {
        target->setWindowTitle(QString::fromUtf8(dialog->caption));
    }
    QLabel* previousLabel = nullptr;
    for (const ControlTemplate& control : dialog->controls) {
        QWidget* widget = CreateControl(control, target);
        if (previousLabel != nullptr && IsLabelledControl(control.kind)) {
            previousLabel->setBuddy(widget);
        }
        previousLabel =
            control.kind == ControlKind::Static ? qobject_cast<QLabel*>(widget) : nullptr;
        widget->setProperty(kControlIdProperty, control.id);
        widget->setObjectName(QStringLiteral("control%1").arg(control.id));
        PlaceControl(widget, control, units);
        widget->setEnabled((control.style & kStyleDisabled) == 0);
        widget->setVisible((control.style & kStyleHidden) == 0);
    }
    return true;
}

int ControlId(const QWidget* widget) {
    QVariant id = widget->property(kControlIdProperty);
    return id.isValid() ? id.toInt() : -1;
}

QWidget* ReplaceControl(QWidget* parent, int id, QWidget* replacement) {
    QWidget* standIn = FindControl<QWidget>(parent, id);
    if (standIn == nullptr) {
        return nullptr;
    }
    replacement->setParent(parent);
    replacement->setProperty(kControlIdProperty, id);
    replacement->setObjectName(standIn->objectName());
    replacement->setGeometry(standIn->geometry());
    replacement->setEnabled(standIn->isEnabled());
    replacement->stackUnder(standIn);
    replacement->setVisible(!standIn->isHidden());
    if (replacement->accessibleName().isEmpty()) {
        replacement->setAccessibleName(standIn->accessibleName());
    }
    // The keyboard reaches the replacement where the template put the control.
    QWidget::setTabOrder(standIn, replacement);
    for (QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->buddy() == standIn) {
            label->setBuddy(replacement);
        }
    }
    delete standIn;
    return replacement;
}

int AddListEntry(QComboBox* list, const QString& text) {
    int index = list->count();
    if (list->property(kSortedProperty).toBool()) {
        index = 0;
        while (index < list->count() && QString::compare(list->itemText(index), text) < 0) {
            ++index;
        }
    }
    list->insertItem(index, text);
    return index;
}

void SetControlText(QWidget* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        // An icon keeps its picture.
        if (label->pixmap().isNull()) {
            label->setText(text);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    }
}

QString ControlText(const QWidget* control) {
    if (auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return button->text();
    }
    if (auto* group = qobject_cast<const QGroupBox*>(control)) {
        return group->title();
    }
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return edit->text();
    }
    return QString();
}

TemplateDialog::TemplateDialog(int templateId, QWidget* parent) : QDialog(parent) {
    BuildFromTemplate(this, templateId);
    if (auto* ok = FindControl<QAbstractButton>(this, kIdOk)) {
        connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    }
    if (auto* cancel = FindControl<QAbstractButton>(this, kIdCancel)) {
        connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    }
}
