// SPDX-License-Identifier: GPL-3.0-or-later
// What the functions and VFO pages share: building from their template, finding the
// controls they bind, and filling a drop-down list with the stored choice selected.
#pragma once

#include <QWidget>
#include <QtGlobal>
#include <string>
#include <vector>

#include "common/dialog_builder.h"

class QComboBox;

// The templates are part of the program, so a missing one is a build fault, not a user's.
void BuildPage(QWidget* page, int templateId);

template <typename T>
T* RequireControl(QWidget* page, int id) {
    T* control = FindControl<T>(page, id);
    if (control == nullptr) {
        qFatal("The page template lacks control %d.", id);
    }
    return control;
}

// Replaces the entries and selects selected; an index past the end (a language file with
// fewer entries than the field has values) leaves the list without a selection.
void FillChoiceList(QComboBox* list, const std::vector<std::string>& entries, int selected);
