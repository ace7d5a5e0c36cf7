// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/focus_keeper.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

namespace {

// The window manager may still be settling focus after the unmap; asking again within this
// long is what the user sees as "the keyboard just works".
constexpr int kRetryMs = 100;
constexpr int kTries = 6;

// Input the user gave a window on screen; a key sent to a window just gone is the window
// manager's late focus, not the user's choice.
bool IsUserInputOnScreen(QObject* watched, const QEvent* event) {
    if (!event->spontaneous() ||
        (event->type() != QEvent::KeyPress && event->type() != QEvent::MouseButtonPress)) {
        return false;
    }
    if (auto* widget = qobject_cast<QWidget*>(watched)) {
        return widget->isVisible();
    }
    auto* window = qobject_cast<QWindow*>(watched);
    return window != nullptr && window->isVisible();
}

}  // namespace

FocusKeeper::FocusKeeper(QMainWindow* frame, std::function<void()> focusPage)
    : QObject(frame), m_Frame(frame), m_FocusPage(std::move(focusPage)) {
    m_Retry.setInterval(kRetryMs);
    connect(&m_Retry, &QTimer::timeout, this, &FocusKeeper::Retry);
    qApp->installEventFilter(this);
}

FocusKeeper::~FocusKeeper() {
    qApp->removeEventFilter(this);
}

bool FocusKeeper::IsMenuBarMenu(QObject* watched) const {
    auto* menu = qobject_cast<QMenu*>(watched);
    return menu != nullptr && m_Frame->menuWidget() != nullptr &&
           m_Frame->menuBar()->actions().contains(menu->menuAction());
}

bool FocusKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (IsUserInputOnScreen(watched, event)) {
        StopWatching();
        return false;
    }
    if (event->type() != QEvent::Hide) {
        return false;
    }
    if (IsMenuBarMenu(watched)) {
        // After the menu's own Escape handling, which leaves the bar holding the keyboard.
        m_RestoreWanted = true;
        QTimer::singleShot(0, this, &FocusKeeper::LeaveMenuBar);
    } else if (auto* dialog = qobject_cast<QDialog*>(watched);
               dialog != nullptr && dialog->isWindow() && dialog->window() != m_Frame) {
        m_RestoreWanted = true;
        QTimer::singleShot(0, this, &FocusKeeper::Restore);
    }
    return false;
}

void FocusKeeper::StopWatching() {
    m_RestoreWanted = false;
    m_TriesLeft = 0;
    m_Retry.stop();
}

void FocusKeeper::LeaveMenuBar() {
    QMenuBar* bar = m_Frame->menuBar();
    if (QApplication::activePopupWidget() != nullptr) {
        m_RestoreWanted = false;
        return;
    }
    if (bar->hasFocus()) {
        // The bar's own Escape leaves its keyboard mode and gives the focus back where it was.
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &escape);
    }
    Restore();
}

// The dialog still open above the window, else the window. A modal dialog just hidden may
// still be listed as modal for a moment.
QWidget* FocusKeeper::Target() const {
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && modal->isVisible() ? modal : m_Frame;
}

void FocusKeeper::Restore() {
    if (!m_RestoreWanted) {
        return;
    }
    m_RestoreWanted = false;
    if (!m_Frame->isVisible() || m_Frame->isMinimized()) {
        return;
    }
    m_TriesLeft = kTries;
    Retry();
    m_Retry.start();
}

// Watched for a moment rather than set once: the window manager, or a late activation of the
// window just gone, may take the keyboard after the first look.
void FocusKeeper::Retry() {
    if (QApplication::activePopupWidget() != nullptr || m_TriesLeft <= 0) {
        m_Retry.stop();
        return;
    }
    --m_TriesLeft;
    QWidget* target = Target();
    if (QApplication::activeWindow() != target) {
        target->activateWindow();
        return;
    }
    QWidget* focused = QApplication::focusWidget();
    if (target == m_Frame &&
        (focused == nullptr || focused->window() != m_Frame || focused == m_Frame->menuWidget())) {
        m_FocusPage();
    }
}
