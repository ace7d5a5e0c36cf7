// SPDX-License-Identifier: GPL-3.0-or-later
// Builds dialogs and pages from their templates. Every control carries its numeric id (the
// dynamic property "controlId" and the object name "control<id>"), so relabelling and
// tests find controls by id. Sizes follow the template font's dialog units.
#pragma once

#include <QDialog>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include "resources/dialog_template.h"

class QComboBox;

constexpr const char* kControlIdProperty = "controlId";

struct DialogUnits {
    int averageWidth;
    int height;
    QRect ToPixels(int x, int y, int cx, int cy) const;
};

DialogUnits DialogUnitsOf(const QFont& font);

// The character cell the templates were laid out for; a larger one overflows the main frame.
constexpr DialogUnits kTemplateCell{6, 13};
// Steps a font sized in pixels down until its dialog units fit in the template cell.
QFont ShrinkToTemplateCell(QFont font);

// An installed face with the metrics of the template's font.
QFont TemplateFont(const DialogTemplate& dialog);

// Gives target the template's font, size and caption and creates its controls in template
// order as direct children. False when the program has no template with that id.
bool BuildFromTemplate(QWidget* target, int templateId);

// The control id of a widget, -1 for a widget built without one.
int ControlId(const QWidget* widget);

// The first direct child of parent with that id that is a T.
template <typename T>
T* FindControl(QWidget* parent, int id) {
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<T*>(child);
        if (widget != nullptr && ControlId(widget) == id) {
            return widget;
        }
    }
    return nullptr;
}

// Puts replacement where the control id stood (geometry, id, visibility, stacking) and
// deletes the stand-in; for controls the builder only reserves room for, such as the grid.
QWidget* ReplaceControl(QWidget* parent, int id, QWidget* replacement);

// Adds an entry to a list, in sorted place when the template marks the list sorted;
// returns the entry's index.
int AddListEntry(QComboBox* list, const QString& text);

// The text a control shows: label, button caption, group title or edit text.
void SetControlText(QWidget* control, const QString& text);
QString ControlText(const QWidget* control);

// A modal dialog built from a template; the buttons with ids 1 and 2 accept and reject it.
class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    TemplateDialog(int templateId, QWidget* parent);
};
