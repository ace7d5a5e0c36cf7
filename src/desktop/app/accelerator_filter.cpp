// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/accelerator_filter.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include "resources/command_ids.h"
#include "resources/frame_resources.h"

namespace {

// A text field keeps the text clipboard keys, and undoes its own typing first, as any text
// box does; only a field with nothing of its own to undo passes those keys to the document.
QLineEdit* FieldTakingCommand(QObject* watched, int commandId) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr || edit->isReadOnly()) {
        return nullptr;
    }
    switch (commandId) {
        case kCommandCut:
        case kCommandCopy:
        case kCommandPaste:
            return edit;
        case kCommandUndo:
            return edit->isUndoAvailable() ? edit : nullptr;
        case kCommandRedo:
            return edit->isRedoAvailable() ? edit : nullptr;
        default:
            return nullptr;
    }
}

void RunInField(QLineEdit& field, int commandId) {
    switch (commandId) {
        case kCommandCut:
            field.cut();
            break;
        case kCommandCopy:
            field.copy();
            break;
        case kCommandPaste:
            field.paste();
            break;
        case kCommandUndo:
            field.undo();
            break;
        default:
            field.redo();
            break;
    }
}

}  // namespace

AcceleratorFilter::AcceleratorFilter(QWidget* target, std::function<void(int)> dispatch)
    : QObject(target), m_Target(target), m_Dispatch(std::move(dispatch)) {
    for (const AcceleratorResource& accelerator : AcceleratorTable()) {
        m_Entries.push_back(
            {QKeySequence(QString::fromLatin1(accelerator.keys)), accelerator.commandId});
    }
}

int AcceleratorFilter::CommandForKeys(const QKeySequence& keys) const {
    for (const Entry& entry : m_Entries) {
        if (entry.keys == keys) {
            return entry.commandId;
        }
    }
    return 0;
}

// Alt+Down and Alt+Up open and close a drop-down list everywhere on the desktop; in a list
// they stay the list's.
bool AcceleratorFilter::OpensList(const QWidget* widget, const QKeyEvent& key) {
    const bool altArrow = key.modifiers() == Qt::AltModifier &&
                          (key.key() == Qt::Key_Down || key.key() == Qt::Key_Up);
    return altArrow && qobject_cast<const QComboBox*>(widget) != nullptr;
}

bool AcceleratorFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != m_Target) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    int commandId = CommandForKeys(QKeySequence(key->keyCombination()));
    if (commandId == 0 || OpensList(widget, *key)) {
        return false;
    }
    QLineEdit* field = FieldTakingCommand(watched, commandId);
    if (event->type() == QEvent::ShortcutOverride) {
        // Claim the key so no widget shortcut fires; the key press that follows comes here.
        event->accept();
        return true;
    }
    if (field != nullptr) {
        RunInField(*field, commandId);
        return true;
    }
    m_Dispatch(commandId);
    return true;
}
