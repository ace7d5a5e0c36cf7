// SPDX-License-Identifier: GPL-3.0-or-later
// The keys that move within a table or along a value bar, the same wherever they are read.
#pragma once

#include <Qt>

inline bool IsNavigationKey(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        default:
            return false;
    }
}
