// SPDX-License-Identifier: GPL-3.0-or-later
// The user guide in a window of its own, on Qt's rich-text browser: no web browser needed.
// Back, Forward and a find field; the title names the section at the top of the page.
#pragma once

#include <QWidget>
#include <string>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolButton;

class CHelpWindow : public QWidget {
    Q_OBJECT
public:
    CHelpWindow();

    // Shows the page at the section's anchor (the top for none), raised and active, with note
    // above it when there is one (the English guide of a language without its own). Beside a
    // modal dialog the window joins that dialog, which would otherwise block it.
    void ShowPage(const std::string& path, const std::string& section,
                  const std::string& note = {});
    // The window's own texts from the language file.
    void Relabel();

    // The next match of the find field's text after the cursor, around the end; false, and
    // the not-found sign, when the page has none.
    bool FindNext(bool backward = false);

    QTextBrowser* Browser() const { return m_Browser; }
    QLineEdit* FindField() const { return m_FindField; }
    QLabel* NotFoundSign() const { return m_NotFound; }
    QLabel* Note() const { return m_Note; }
    QToolButton* BackButton() const { return m_Back; }
    QToolButton* ForwardButton() const { return m_Forward; }
    // The anchor of the section whose heading is at or above the top of the view.
    QString SectionInView() const;

private:
    void ShowSectionTitle();

    QToolButton* m_Back;
    QToolButton* m_Forward;
    QLabel* m_FindLabel;
    QLineEdit* m_FindField;
    QLabel* m_NotFound;
    QLabel* m_Note;
    QTextBrowser* m_Browser;
};
