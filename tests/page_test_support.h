// What the tests of the functions and VFO pages share: a language file of their own, a
// document that never asks, and an active window that hosts a page so focus moves as a
// user's would.
#pragma once

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <memory>
#include <optional>
#include <string>

#include "app/dialog_builder.h"
#include "codeplug/document.h"
#include "config/app_globals.h"

class SilentPrompts : public DocumentPrompts {
public:
    bool AskOkCancel(const DocumentMessage&) override { return true; }
    void ShowStopMessage(const DocumentMessage& message) override {
        m_Shown.push_back(message.textKey + message.detail);
    }
    std::optional<std::string> AskSavePath() override { return std::nullopt; }
    const std::vector<std::string>& Shown() const { return m_Shown; }

private:
    std::vector<std::string> m_Shown;
};

// Writes name into dir and makes it the current language file.
inline void UseLanguageFile(const QTemporaryDir& dir, const QString& name,
                            const QByteArray& contents) {
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(contents), contents.size());
    file.close();
    g_LanguagePath = dir.filePath(name).toStdString();
}

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
