// SPDX-License-Identifier: GPL-3.0-or-later
// The channel table's find bar: a line over the table that finds channels by name or
// frequency as the user types. The match becomes the table's focus cell, scrolled into view,
// and the bar's own line says which channel it is, for the eye and for a screen reader.
#pragma once

#include <QWidget>
#include <vector>

class CGridCtrl;
class CHalvexDoc;
class QLabel;
class QLineEdit;
class QToolButton;

class CChannelFindBar : public QWidget {
    Q_OBJECT
public:
    CChannelFindBar(const CHalvexDoc& document, CGridCtrl* grid, QWidget* parent);

    // Shows the bar with its text selected and the focus in it.
    void Open();
    // Hides the bar and gives the focus back to the table.
    void Close();
    // The next or previous match after the table's focus row, around the ends; opens the bar
    // when it has nothing to find yet.
    void FindNext();
    void FindPrevious();

    QLineEdit* Edit() const { return m_Edit; }
    QString StatusText() const;
    // Wording and matches again, after a change of language or of the channels.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step(int direction, bool includeCurrent);
    void Show(int index);
    void Announce();

    const CHalvexDoc& m_Document;
    CGridCtrl* m_Grid;
    QLabel* m_Label;
    QLineEdit* m_Edit;
    QToolButton* m_Previous;
    QToolButton* m_Next;
    QToolButton* m_Close;
    QLabel* m_Status;
    std::vector<int> m_Matches;
};
