// SPDX-License-Identifier: GPL-3.0-or-later
// Gives the keyboard back to the main window when something above it goes: a dialog (with the
// message boxes above it) or a menu of the menu bar left with Escape. Under a window manager
// the keyboard may otherwise stay with the manager, or with the menu bar, until a click. Once
// the user presses a key or a mouse button in a window of the program, the keyboard stays
// where the user put it.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QMainWindow;
class QWidget;

class FocusKeeper : public QObject {
    Q_OBJECT
public:
    // focusPage puts the focus on the page in front when the window has no focus widget.
    FocusKeeper(QMainWindow* frame, std::function<void()> focusPage);
    ~FocusKeeper() override;
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsMenuBarMenu(QObject* watched) const;
    void StopWatching();
    void LeaveMenuBar();
    void Restore();
    void Retry();
    QWidget* Target() const;

    QMainWindow* m_Frame;
    std::function<void()> m_FocusPage;
    QTimer m_Retry;
    int m_TriesLeft = 0;
    // Something above the window went and the keyboard has not been given back yet.
    bool m_RestoreWanted = false;
};
