// SPDX-License-Identifier: GPL-3.0-or-later
// The cell record of the grid control and the notification record it sends to its page.
// Plain values only: pages copy them freely, and a record never points back into the grid.
#pragma once

#include <QRect>
#include <QString>
#include <QtGlobal>

class CGridCtrl;

// Cell state flags.
constexpr quint32 kCellFocused = 0x01;
constexpr quint32 kCellSelected = 0x02;
constexpr quint32 kCellMarked = 0x04;
constexpr quint32 kCellReadOnly = 0x08;

// The notification code of a cell's edit beginning.
constexpr int kGridBeginEdit = -105;

struct GridCellId {
    int row = -1;
    int column = -1;

    bool IsValid() const { return row >= 0 && column >= 0; }
    friend bool operator==(const GridCellId&, const GridCellId&) = default;
};

// The cell a notification is about, with its text as it was then.
struct GridItem {
    int row = 0;
    int column = 0;
    QString text;
};

// rectangle is in screen coordinates; it is empty when the cell is scrolled out of sight.
struct GridNotification {
    CGridCtrl* sender = nullptr;
    int controlId = 0;
    int code = 0;
    GridItem item;
    QRect rectangle;
};
