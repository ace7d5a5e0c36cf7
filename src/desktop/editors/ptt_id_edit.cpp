// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/ptt_id_edit.h"

#include <QEvent>
#include <QLineEdit>

#include "editors/typing_filter.h"

namespace {

constexpr int kCodeLength = static_cast<int>(kPttIdCodeSize);

// What the radio can store; "*" and "#" would be dropped silently when the box is left.
bool IsCodeCharacter(QChar character) {
    static const QString kAccepted = QStringLiteral("0123456789ABCDabcd");
    return kAccepted.contains(character);
}

}  // namespace

CPttIdEdit::CPttIdEdit(QLineEdit* edit) : QObject(edit), m_Edit(edit) {
    m_Edit->setMaxLength(kCodeLength);
    m_Filter = new TypingFilter(
        edit, [](QChar* character, const QString&) { return IsCodeCharacter(*character); });
    m_Edit->installEventFilter(this);
}

void CPttIdEdit::SetCode(const PttIdCode& code) {
    m_Filter->Expect(QString::fromStdString(PttIdCodeText(code)));
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
    if (watched == m_Edit && event->type() == QEvent::FocusOut) {
        emit focusLost();
    }
    return false;
}
