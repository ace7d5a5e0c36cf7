// SPDX-License-Identifier: GPL-3.0-or-later
// The short guide above the pages while the document holds no channel: how a radio's channels
// get in (read the radio, open a file, find the cable). Dismissed, or once a document has held
// channels, it stays away for the rest of the run.
#pragma once

#include <QFrame>
#include <QString>
#include <functional>
#include <string>

#include "codeplug/document.h"

class QLabel;
class QPushButton;

class StartPanel : public QFrame, public DocumentView {
    Q_OBJECT
public:
    // run carries out a command of the window by its id.
    StartPanel(CHalvexDoc& document, std::function<void(int commandId)> run,
               QWidget* parent = nullptr);
    ~StartPanel() override;

    // Whole-document changes (new, open, read, import, undo) show or hide it; an edit only
    // marks it to go at the next, so the table never jumps under the user's typing.
    void OnUpdate() override;
    void OnTitleChanged() override;
    // Words it anew in the language shown.
    void Relabel();
    // Whether it is gone for the rest of the run.
    bool IsDone() const { return m_Done; }
    // The height it takes in a window of the given width while shown, else 0.
    int HeightIn(int width) const;

signals:
    // Shown or hidden, so the window can keep room for the pages beside it.
    void shownChanged();

private:
    QPushButton* CommandButton(int commandId, const char* menuKey);

    CHalvexDoc& m_Document;
    std::function<void(int)> m_Run;
    bool m_Done = false;
    bool m_Shown = true;
    QLabel* m_Title;
    QLabel* m_Text;
    QPushButton* m_Dismiss;
};

// A menu entry's text as a button's: "&Read from Radio\tCtrl+R" is "Read from Radio (Ctrl+R)",
// "从对讲机读取(&R)\tCtrl+R" is "从对讲机读取 (Ctrl+R)"; "&&" stays one "&".
QString ButtonTextOfMenuEntry(const std::string& entry);
