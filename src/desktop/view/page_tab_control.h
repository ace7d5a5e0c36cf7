// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's tab control: one tab per page, the selected page shown, the others hidden.
#pragma once

#include <QTabWidget>

class CPageTabCtrl : public QTabWidget {
    Q_OBJECT
public:
    explicit CPageTabCtrl(QWidget* parent = nullptr);

    // Appends a tab holding page; the first page is shown, later ones stay hidden until
    // their tab is chosen.
    void AddPage(QWidget* page, const QString& caption);
};
