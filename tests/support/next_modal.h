// SPDX-License-Identifier: GPL-3.0-or-later
// Acts on the dialog a command opens modally, from inside that dialog's own event loop, as a
// user would: tests reach modal dialogs through this, never through sleeps.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>

namespace halvex::test {

// From the moment it is made, looks for the first modal dialog; when it is a Dialog, act runs
// on it and Shown() turns true. A modal dialog of another class is closed unacted, so opening
// the wrong one fails the test on Shown() instead of waiting for a user.
template <typename Dialog = QWidget>
class NextModal {
public:
    explicit NextModal(std::function<void(Dialog&)> act) : m_Act(std::move(act)) {
        QObject::connect(&m_Watch, &QTimer::timeout, [this] { Look(); });
        m_Watch.start(0);
    }
    NextModal(const NextModal&) = delete;
    NextModal& operator=(const NextModal&) = delete;

    bool Shown() const { return m_Shown; }

private:
    // Looked for again while the command works towards its dialog, without spinning.
    static constexpr int kLookAgainMs = 10;

    void Look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            m_Watch.setInterval(kLookAgainMs);
            return;
        }
        m_Watch.stop();
        if (auto* dialog = qobject_cast<Dialog*>(modal)) {
            m_Shown = true;
            m_Act(*dialog);
        } else {
            modal->close();
        }
    }

    std::function<void(Dialog&)> m_Act;
    QTimer m_Watch;
    bool m_Shown = false;
};

}  // namespace halvex::test
