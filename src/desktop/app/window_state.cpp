// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_state.h"

#include <QSettings>
#include <QWidget>

#include "app/recent_files.h"

namespace {

constexpr const char* kGroup = "Window";
// Past any screen made; a larger value is a damaged file, not a window.
constexpr int kLargestSide = 16384;

}  // namespace

WindowState LoadWindowState() {
    QSettings settings(RecentFileList::FilePath(), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    WindowState state;
    bool widthRead = false;
    bool heightRead = false;
    const int width = settings.value(QStringLiteral("Width")).toInt(&widthRead);
    const int height = settings.value(QStringLiteral("Height")).toInt(&heightRead);
    if (widthRead && heightRead && width > 0 && height > 0 && width <= kLargestSide &&
        height <= kLargestSide) {
        state.size = QSize(width, height);
    }
    state.maximized = settings.value(QStringLiteral("Maximized")).toBool();
    return state;
}

void SaveWindowState(const QWidget& window) {
    QSettings settings(RecentFileList::FilePath(), QSettings::IniFormat);
    settings.beginGroup(kGroup);
    // The size to come back to from maximised is the one to keep, not the screen's.
    const QSize size = window.isMaximized() ? window.normalGeometry().size() : window.size();
    if (size.isValid()) {
        settings.setValue(QStringLiteral("Width"), size.width());
        settings.setValue(QStringLiteral("Height"), size.height());
    }
    settings.setValue(QStringLiteral("Maximized"), window.isMaximized());
}
