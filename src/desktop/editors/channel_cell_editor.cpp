// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/channel_cell_editor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include "editors/typing_filter.h"

namespace {

bool IsNameCharacter(QChar character) {
    const char16_t c = character.unicode();
    return c == ' ' || c == '*' || c == '+' || c == '-' || c == '_' || (c >= '0' && c <= '9') ||
           (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// What the column takes, given the rest of the text; a decimal comma stands for the point.
bool AcceptsCharacter(CCellEditor::Keys keys, QChar* character, const QString& rest) {
    switch (keys) {
        case CCellEditor::Keys::Any:
            return true;
        case CCellEditor::Keys::Frequency:
            if (*character == QChar(',')) {
                *character = QChar('.');
            }
            if (character->unicode() >= '0' && character->unicode() <= '9') {
                return true;
            }
            return *character == QChar('.') && !rest.contains(QChar('.'));
        case CCellEditor::Keys::Name:
            return IsNameCharacter(*character);
    }
    return false;
}

// The keys with which a drop-down list opens its pop-up.
bool OpensPopup(const QKeyEvent& key) {
    const bool alt = key.modifiers() & Qt::AltModifier;
    return key.key() == Qt::Key_F4 ||
           (alt && (key.key() == Qt::Key_Down || key.key() == Qt::Key_Up));
}

}  // namespace

CCellEditor::CCellEditor(QWidget* editor, QWidget* focusTarget, Keys keys)
    : QObject(editor),
      m_Editor(editor),
      m_Edit(qobject_cast<QLineEdit*>(editor)),
      m_List(qobject_cast<QComboBox*>(editor)),
      m_FocusTarget(focusTarget),
      m_Keys(keys) {
    editor->installEventFilter(this);
    if (m_Edit != nullptr && keys != Keys::Any) {
        m_Filter = new TypingFilter(m_Edit, [keys](QChar* character, const QString& rest) {
            return AcceptsCharacter(keys, character, rest);
        });
    }
    if (m_List != nullptr) {
        connect(m_List, &QComboBox::activated, this, &CCellEditor::OnActivated);
    }
}

void CCellEditor::OnActivated(int index) {
    if (!m_InClosedListKey && IsShown()) {
        emit Chosen(index);
    }
}

bool CCellEditor::ListChanged() const {
    return m_List != nullptr && m_List->currentIndex() != m_ShownIndex;
}

bool CCellEditor::TextChanged() const {
    return m_Edit != nullptr && m_Edit->text() != m_ShownText;
}

void CCellEditor::Finish() {
    if (IsShown()) {
        emit FocusLost();
    }
}

void CCellEditor::Place(const QRect& rect, const QString& text) {
    m_ShownText = text;
    if (m_Edit != nullptr) {
        // Described before the focus comes, so the screen reader says it with the name.
        m_Edit->setAccessibleDescription(text);
    }
    // Focus first: a screen reader that hears of the caret before the focus takes the field
    // as announced already and says only the selection.
    Show(rect);
    if (m_Edit != nullptr) {
        SetText(text);
        m_Edit->selectAll();
    }
}

void CCellEditor::Place(const QRect& rect, int index) {
    m_ShownIndex = index;
    if (m_List != nullptr) {
        QSignalBlocker blocker(m_List);
        m_List->setCurrentIndex(index);
    }
    Show(rect);
}

void CCellEditor::Show(const QRect& rect) {
    m_Editor->setGeometry(rect);
    m_Editor->setEnabled(true);
    m_Editor->raise();
    m_Editor->show();
    m_Editor->setFocus(Qt::OtherFocusReason);
}

void CCellEditor::Hide() {
    m_Editor->hide();
    m_Editor->setEnabled(false);
}

bool CCellEditor::IsShown() const {
    return m_Editor->isVisibleTo(m_Editor->parentWidget());
}

void CCellEditor::ReturnFocus() {
    m_FocusTarget->setFocus(Qt::OtherFocusReason);
}

void CCellEditor::SetText(const QString& text) {
    if (m_Filter != nullptr) {
        m_Filter->Expect(text);
    }
    m_Edit->setText(text);
}

void CCellEditor::Restore() {
    if (m_Edit != nullptr) {
        SetText(m_ShownText);
    }
    if (m_List != nullptr) {
        QSignalBlocker blocker(m_List);
        m_List->setCurrentIndex(m_ShownIndex);
    }
}

bool CCellEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_Editor) {
        return false;
    }
    // The flag covers one key press only; a click, or the pop-up taking the focus, starts
    // real picking.
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::FocusOut:
            m_InClosedListKey = false;
            break;
        default:
            break;
    }
    if (event->type() == QEvent::FocusOut) {
        // A pop-up takes the focus while the user chooses in it (on X it even becomes the
        // focused window); that is no loss.
        const bool toPopup = static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason ||
                             QApplication::activePopupWidget() != nullptr ||
                             (m_List != nullptr && m_List->view()->isVisible());
        if (!toPopup && IsShown()) {
            emit FocusLost();
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (m_List != nullptr && !OpensPopup(*key)) {
        m_InClosedListKey = true;
    }
    switch (key->key()) {
        case Qt::Key_Escape:
            Restore();
            ReturnFocus();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ReturnFocus();
            return true;
        default:
            break;
    }
    return false;
}
