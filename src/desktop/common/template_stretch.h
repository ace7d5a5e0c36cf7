// SPDX-License-Identifier: GPL-3.0-or-later
// Lets a dialog built from a fixed template grow: named controls take the width or height
// the window gains, or move with it, while everything else keeps its template place. The
// template's size stays the smallest the dialog can be.
#pragma once

#include <QRect>
#include <QSize>
#include <initializer_list>
#include <utility>
#include <vector>

class QWidget;

class TemplateStretch {
public:
    enum Follow : unsigned { GrowWidth = 1, GrowHeight = 2, MoveRight = 4, MoveDown = 8 };

    // Takes dialog's size and the controls' places as the template's; lifts the fixed size.
    TemplateStretch(QWidget* dialog, std::initializer_list<std::pair<int, unsigned>> controls);

    // Places the controls for the dialog's size now; from its resizeEvent.
    void Apply() const;
    // Makes the dialog at least wide and high enough that control shows wanted.
    void Fit(const QWidget* control, QSize wanted) const;

private:
    struct Entry {
        QWidget* control;
        QRect place;
        unsigned follow;
    };
    QWidget* m_Dialog;
    QSize m_TemplateSize;
    std::vector<Entry> m_Entries;
};
