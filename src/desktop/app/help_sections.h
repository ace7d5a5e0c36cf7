// SPDX-License-Identifier: GPL-3.0-or-later
// Which section of the user guide F1 opens: one table from the page or dialog in use to the
// guide's anchor, and the application-wide filter that turns F1 into that request.
#pragma once

#include <QObject>
#include <functional>
#include <string>

class QWidget;

// The anchor for the window a key went to: a dialog of the table, or the main window's page
// in front; a window without one asks the window that owns it. Empty for the guide's top.
std::string HelpSectionFor(QWidget* window);

// F1 anywhere in the program, modal dialogs included, asks for the section in use. The help
// window's own F1 does nothing.
class HelpKeyFilter : public QObject {
    Q_OBJECT
public:
    HelpKeyFilter(std::function<void(const std::string& section)> open,
                  std::function<const QWidget*()> helpWindow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const std::string&)> m_Open;
    std::function<const QWidget*()> m_HelpWindow;
};
