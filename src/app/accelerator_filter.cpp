#include "app/accelerator_filter.h"

#include <QKeyEvent>
#include <QWidget>

#include "resources/frame_resources.h"

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
    if (commandId == 0) {
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Claim the key so no widget shortcut fires; the key press that follows comes here.
        event->accept();
        return true;
    }
    m_Dispatch(commandId);
    return true;
}
