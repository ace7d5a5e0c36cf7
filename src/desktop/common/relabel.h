// SPDX-License-Identifier: GPL-3.0-or-later
// Relabelling of dialogs and pages from the "Resource" section of the current language file.
#pragma once

class QWidget;

// The caption from key templateId and the text of each direct child from key <its id>, in
// creation order; a missing or empty key leaves the resource text. A control without a label
// of its own takes its screen-reader name from key <its id> of section "AccessibleName".
// Grandchildren are left alone.
void RelabelDialog(QWidget* window, int templateId);
