// SPDX-License-Identifier: GPL-3.0-or-later
// An edit field or drop-down list that a page places over a grid cell. It lets in only the
// characters its column accepts, typed or pasted, restores what it was shown with on Escape, hands
// the focus back on Enter and Escape, and reports the loss of focus, on which the page commits. A
// list opens its pop-up with the mouse, F4 or Alt+Down; an entry picked there is reported at once,
// while keys in the closed list only move the selection until the edit ends. It never writes the
// image itself.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>

class QComboBox;
class QLineEdit;
class QWidget;
class TypingFilter;

class CCellEditor : public QObject {
    Q_OBJECT
public:
    enum class Keys { Any, Frequency, Name };

    // Takes over editor (a QLineEdit or QComboBox); focusTarget gets the focus back.
    CCellEditor(QWidget* editor, QWidget* focusTarget, Keys keys = Keys::Any);

    // Shows the edit over rect (its parent's coordinates) with text, all of it selected.
    void Place(const QRect& rect, const QString& text);
    // Shows the list over rect with entry index selected (-1 for none).
    void Place(const QRect& rect, int index);
    void Hide();
    bool IsShown() const;
    QWidget* Widget() const { return m_Editor; }
    QLineEdit* Edit() const { return m_Edit; }
    QComboBox* List() const { return m_List; }
    void ReturnFocus();
    // Whether the list's selection differs from the one it was shown with.
    bool ListChanged() const;
    // The text box holds other text than it was placed with: Enter on an untouched cell
    // must change nothing.
    bool TextChanged() const;
    // Ends the edit as a loss of focus would, for commands that end or replace the document
    // while the focus stays put (a menu, a toolbar button, the close box).
    void Finish();

signals:
    void FocusLost();
    // An entry picked in the list's pop-up.
    void Chosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show(const QRect& rect);
    void Restore();
    void SetText(const QString& text);
    void OnActivated(int index);

    QWidget* m_Editor;
    QLineEdit* m_Edit;
    QComboBox* m_List;
    TypingFilter* m_Filter = nullptr;
    QWidget* m_FocusTarget;
    Keys m_Keys;
    QString m_ShownText;
    int m_ShownIndex = -1;
    // Set while the closed list handles a key press, whose selection is not yet a choice.
    bool m_InClosedListKey = false;
};
