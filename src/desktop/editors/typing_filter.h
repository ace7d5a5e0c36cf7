// SPDX-License-Identifier: GPL-3.0-or-later
// What a filtered edit box lets in, whichever way the text comes: typed, pasted, dropped or
// pasted with the middle button, while the box's editing keys (Ctrl+A, Ctrl+V) work as in
// any field. Only the characters a change brings in are checked, so a
// stored text the box shows keeps its characters until the user edits them.
#pragma once

#include <QString>
#include <QValidator>
#include <functional>

class QLineEdit;

class TypingFilter : public QValidator {
    Q_OBJECT
public:
    // Whether character may go into the box, given the rest of its text; it may also stand
    // for another character (a decimal comma for the point).
    using Accepts = std::function<bool(QChar* character, const QString& rest)>;

    // Installs itself on edit and follows what the box holds; the box's length and a
    // validator it had (its upper-case style) still hold.
    TypingFilter(QLineEdit* edit, Accepts accepts);

    // The text the box is about to be given is taken as it is.
    void Expect(const QString& text) { m_Accepted = text; }

    State validate(QString& text, int& position) const override;

private:
    Accepts m_Accepts;
    const QValidator* m_Style;
    qsizetype m_Limit;
    mutable QString m_Accepted;
};
