// SPDX-License-Identifier: GPL-3.0-or-later
// The PTT-ID code box of the functions page. It takes over the template's edit box, which
// keeps its place, id and upper-case style, and lets in only DTMF characters, typed or
// pasted, while the box's editing keys work as in any field.
#pragma once

#include <QObject>
#include <QString>

#include "codeplug/ptt_id_code.h"

class QLineEdit;
class TypingFilter;

class CPttIdEdit : public QObject {
    Q_OBJECT
public:
    explicit CPttIdEdit(QLineEdit* edit);

    QLineEdit* Edit() const { return m_Edit; }

    // Shows the stored code; the box takes six characters at most.
    void SetCode(const PttIdCode& code);
    // The code the box's text stands for; the end of the text ends it.
    PttIdCode GetCode() const;
    // The text differs from what SetCode or the last TakeEdit left in the box.
    bool Edited() const;
    // The text as it stands is the stored one from now on.
    void TakeEdit();

signals:
    void focusLost();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_Edit;
    TypingFilter* m_Filter = nullptr;
    QString m_StoredText;
};
