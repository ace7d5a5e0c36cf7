// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ptt_id_edit.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

constexpr int kCodeLength = static_cast<int>(kPttIdCodeSize);

bool IsCodeCharacter(const QString& text) {
    // What the radio can store; "*" and "#" would be dropped silently when the box is left.
    static const QString kAccepted = QStringLiteral("0123456789ABCDabcd\b");
    return text.size() == 1 && kAccepted.contains(text.front());
}

// Tab and Backtab must still move the focus, and keys without text (arrows, Delete) only
// move or delete within the box.
bool PassesFilter(const QKeyEvent& key) {
    return key.text().isEmpty() || key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab ||
           IsCodeCharacter(key.text());
}

}  // namespace

CPttIdEdit::CPttIdEdit(QLineEdit* edit) : QObject(edit), m_Edit(edit) {
    m_Edit->installEventFilter(this);
}

void CPttIdEdit::SetCode(const PttIdCode& code) {
    m_Edit->setMaxLength(kCodeLength);
    m_Edit->setText(QString::fromStdString(PttIdCodeText(code)));
    m_StoredText = m_Edit->text();
}

bool CPttIdEdit::Edited() const {
    return m_Edit->text() != m_StoredText;
}

void CPttIdEdit::TakeEdit() {
    m_StoredText = m_Edit->text();
}

PttIdCode CPttIdEdit::GetCode() const {
    return PttIdCodeFromText(m_Edit->text().left(kCodeLength).toStdString());
}

bool CPttIdEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_Edit && event->type() == QEvent::KeyPress) {
        return !PassesFilter(*static_cast<QKeyEvent*>(event));
    }
    if (watched == m_Edit && event->type() == QEvent::FocusOut) {
        emit focusLost();
    }
    return false;
}
