// SPDX-License-Identifier: GPL-3.0-or-later
// Accelerator table 128 of the main window. Its keys are taken before any widget sees them,
// also inside the edit fields of the pages, so Ctrl+C opens the port dialog there; undo and
// redo first step through a field's own typing. Modal dialogs keep their own keys.
#pragma once

#include <QKeySequence>
#include <QObject>
#include <functional>
#include <vector>

class QKeyEvent;
class QWidget;

class AcceleratorFilter : public QObject {
    Q_OBJECT
public:
    // Translates keys of events whose window is target into command for dispatch.
    AcceleratorFilter(QWidget* target, std::function<void(int commandId)> dispatch);

    // The command of a key combination, 0 when the table has none.
    int CommandForKeys(const QKeySequence& keys) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool OpensList(const QWidget* widget, const QKeyEvent& key);

    struct Entry {
        QKeySequence keys;
        int commandId;
    };

    QWidget* m_Target;
    std::function<void(int)> m_Dispatch;
    std::vector<Entry> m_Entries;
};
