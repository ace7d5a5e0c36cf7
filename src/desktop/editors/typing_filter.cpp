// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/typing_filter.h"

#include <QLineEdit>
#include <algorithm>
#include <limits>

TypingFilter::TypingFilter(QLineEdit* edit, Accepts accepts)
    : QValidator(edit),
      m_Accepts(std::move(accepts)),
      m_Style(edit->validator()),
      m_Limit(edit->maxLength()),
      m_Accepted(edit->text()) {
    // The box would cut a paste to its length before the filter sees it, keeping fewer
    // characters than fit; the filter keeps the length instead.
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setValidator(this);
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { Expect(text); });
}

QValidator::State TypingFilter::validate(QString& text, int& position) const {
    const qsizetype shorter = std::min(text.size(), m_Accepted.size());
    qsizetype prefix = 0;
    while (prefix < shorter && text[prefix] == m_Accepted[prefix]) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           text[text.size() - 1 - suffix] == m_Accepted[m_Accepted.size() - 1 - suffix]) {
        ++suffix;
    }
    const QString head = text.left(prefix);
    const QString tail = text.right(suffix);
    QString kept;
    for (QChar character : text.mid(prefix, text.size() - prefix - suffix)) {
        if (head.size() + kept.size() + tail.size() >= m_Limit) {
            break;
        }
        if (m_Accepts(&character, head + kept + tail)) {
            kept += character;
        }
    }
    const qsizetype insertedEnd = text.size() - suffix;
    text = head + kept + tail;
    if (position >= insertedEnd) {
        position -= static_cast<int>(insertedEnd - (prefix + kept.size()));
    } else {
        position = static_cast<int>(std::min<qsizetype>(position, prefix + kept.size()));
    }
    State state = m_Style != nullptr ? m_Style->validate(text, position) : Acceptable;
    m_Accepted = text;
    return state;
}
