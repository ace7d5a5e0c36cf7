// SPDX-License-Identifier: GPL-3.0-or-later
// What the page and dialog tests share: an active window that hosts a page or dialog so
// focus moves as a user's would, and the keys a user presses in its lists and boxes.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <QtTest>

// Shows the host window and waits until it is active, so focus changes send focus events.
inline bool ShowActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// Moves a drop-down list to index with the keys a user would press: Home or End for the
// ends, else the arrow keys, each step a choice of its own.
inline void ChooseWithKeys(QComboBox* list, int index) {
    list->setFocus();
    if (index == 0) {
        QTest::keyClick(list, Qt::Key_Home);
    } else if (index == list->count() - 1) {
        QTest::keyClick(list, Qt::Key_End);
    }
    while (list->currentIndex() < index) {
        int before = list->currentIndex();
        QTest::keyClick(list, Qt::Key_Down);
        QVERIFY(list->currentIndex() != before);
    }
    while (list->currentIndex() > index) {
        int before = list->currentIndex();
        QTest::keyClick(list, Qt::Key_Up);
        QVERIFY(list->currentIndex() != before);
    }
}

// Replaces the text of an edit box by typing, as a user would.
inline void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End);
    for (qsizetype count = edit->text().size(); count > 0; --count) {
        QTest::keyClick(edit, Qt::Key_Backspace);
    }
    QTest::keyClicks(edit, text);
}
