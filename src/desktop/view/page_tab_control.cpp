// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/page_tab_control.h"

CPageTabCtrl::CPageTabCtrl(QWidget* parent) : QTabWidget(parent) {}

void CPageTabCtrl::AddPage(QWidget* page, const QString& caption) {
    addTab(page, caption);
}
