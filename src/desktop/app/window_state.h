// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's size and maximised state, kept beside the recent-file list in the
// program's own configuration folder (group "Window"), so the next start opens as the last
// one closed.
#pragma once

#include <QSize>

class QWidget;

struct WindowState {
    QSize size;  // invalid: nothing kept, or a value that cannot be a window
    bool maximized = false;
};

WindowState LoadWindowState();
void SaveWindowState(const QWidget& window);
