// SPDX-License-Identifier: GPL-3.0-or-later
// The cell record of the grid control and the notification record it sends to its page.
// Plain values only: pages copy them freely, and a record never points back into the grid.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QtGlobal>

class CGridCtrl;

// Cell state flags.
constexpr quint32 kCellFocused = 0x01;
constexpr quint32 kCellSelected = 0x02;
constexpr quint32 kCellMarked = 0x04;
constexpr quint32 kCellReadOnly = 0x08;

// Mask bits of GridItem: setting an item changes only the fields whose bit is set.
constexpr quint32 kItemText = 0x01;
constexpr quint32 kItemImage = 0x02;
constexpr quint32 kItemParameter = 0x04;
constexpr quint32 kItemState = 0x08;
constexpr quint32 kItemBackColour = 0x10;
constexpr quint32 kItemTextColour = 0x20;
constexpr quint32 kItemFormat = 0x40;
constexpr quint32 kItemFont = 0x80;
constexpr quint32 kItemAll = 0xFF;

// Notification codes.
constexpr int kGridBeginEdit = -105;
constexpr int kGridFocusLeave = -104;
constexpr int kGridFocusEnter = -103;

struct GridCellId {
    int row = -1;
    int column = -1;

    bool IsValid() const { return row >= 0 && column >= 0; }
    friend bool operator==(const GridCellId&, const GridCellId&) = default;
};

// An invalid QColor (the default) stands for "use the grid's colour". format holds
// Qt::Alignment and Qt::TextFlag bits (Qt::TextSingleLine, Qt::TextWordWrap) as drawText takes
// them.
struct GridItem {
    int row = 0;
    int column = 0;
    quint32 mask = 0;
    quint32 state = 0;
    int format = 0;
    QString text;
    int image = -1;
    QColor backColour;
    QColor textColour;
    quint32 parameter = 0;
    QFont font;
};

// rectangle is in screen coordinates; it is empty when the cell is scrolled out of sight.
struct GridNotification {
    CGridCtrl* sender = nullptr;
    int controlId = 0;
    int code = 0;
    GridItem item;
    QRect rectangle;
};
