// SPDX-License-Identifier: GPL-3.0-or-later
// Names and notices for assistive technology. A screen reader calls a control by its name;
// on this desktop a drop-down list's name is the entry it shows, so a list is named by a label
// it points at, as the labels beside the template's lists are. None of this is ever drawn.
#pragma once

#include <QAccessible>

class QComboBox;
class QLabel;
class QLineEdit;
class QString;
class QWidget;

// Names control for a screen reader; a drop-down list also gets a label that is never shown.
void SetAccessibleControlName(QWidget* control, const QString& name);

// Names control by group's title and its own label, as a label that is never shown and is
// read first, so that two groups with the same fields (F1 and F2) are told apart.
void NameControlByGroup(QWidget* control, const QString& groupTitle);

// Keeps the entry a list shows as its description. The toolkit here neither reports a
// list's entry nor says when it changes; a screen reader reads a description on focus and
// speaks each change of it.
void DescribeListEntry(QComboBox* list);

// Puts edit's text in its description, to call just before it takes the focus. This toolkit
// tells a screen reader that an edit field's text ends one character early, so a value read
// out on focus would lose its last digit; the description is read whole.
void DescribeFieldText(QLineEdit* edit);

// Presents widget as role: a page as a pane that is named on entering it, a container that
// only lays out its children as nothing at all. Set before the widget is first shown.
void SetAccessibleRole(QWidget* widget, QAccessible::Role role);

// Tells a screen reader that a label's text changed, so a notice shown there can be read out.
void AnnounceLabelText(QLabel* label);
