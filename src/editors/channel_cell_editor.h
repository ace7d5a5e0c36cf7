// An edit field or drop-down list that a page places over a grid cell. It filters the
// keystrokes its column accepts, restores what it was shown with on Escape, hands the focus
// back on Enter and Escape, and reports the loss of focus, on which the page commits.
// It never writes the image itself.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>

class QComboBox;
class QLineEdit;
class QWidget;

class CCellEditor : public QObject {
    Q_OBJECT
public:
    enum class Keys { Any, Frequency, Name };

    // Takes over editor (a QLineEdit or QComboBox); focusTarget gets the focus back.
    CCellEditor(QWidget* editor, QWidget* focusTarget, Keys keys = Keys::Any);

    // Whether typing character into an edit holding text keeps it.
    static bool AcceptsCharacter(Keys keys, QChar character, const QString& text);

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

signals:
    void FocusLost();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show(const QRect& rect);
    void Restore();

    QWidget* m_Editor;
    QLineEdit* m_Edit;
    QComboBox* m_List;
    QWidget* m_FocusTarget;
    Keys m_Keys;
    QString m_ShownText;
    int m_ShownIndex = -1;
};
