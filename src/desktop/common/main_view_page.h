// SPDX-License-Identifier: GPL-3.0-or-later
// What the main view needs from each of its tab pages.
#pragma once

#include <QSize>
#include <QString>
#include <functional>
#include <utility>

class QWidget;

class MainViewPage {
public:
    virtual ~MainViewPage() = default;
    // The page window. It is created as a child of the tab control and owns the page object
    // (usually it is the page object).
    virtual QWidget* Widget() = 0;
    // Reloads the controls from the document and the texts from the language file.
    virtual void Reload() = 0;
    // Stores an edit still open on the page, as leaving it would.
    virtual void CommitEdit() = 0;
    // The window is this much larger than the template's form; a page with a table gives the
    // room to it, the others keep their template layout.
    virtual void Grow(const QSize& extra) { static_cast<void>(extra); }

    // The main view hands its status note to each page it holds; a page outside one notes
    // nothing.
    void SetStatusNote(std::function<void(const QString&)> show) {
        m_ShowStatusNote = std::move(show);
    }

protected:
    void ShowStatusNote(const QString& text) const {
        if (m_ShowStatusNote) {
            m_ShowStatusNote(text);
        }
    }

private:
    std::function<void(const QString&)> m_ShowStatusNote;
};
