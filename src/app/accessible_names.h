// Names and notices for assistive technology. A screen reader calls a control by its name;
// on this desktop a drop-down list's name is the entry it shows, so a list is named by a label
// it points at, as the labels beside the template's lists are. None of this is ever drawn.
#pragma once

class QLabel;
class QString;
class QWidget;

// Names control for a screen reader; a drop-down list also gets a label that is never shown.
void SetAccessibleControlName(QWidget* control, const QString& name);

// Tells a screen reader that a label's text changed, so a notice shown there can be read out.
void AnnounceLabelText(QLabel* label);
