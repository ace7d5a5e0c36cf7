// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/message_box.h"

#include <QMessageBox>
#include <QString>

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton ToQtButton(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Ok:
            return QMessageBox::Ok;
        case MessageAnswer::Cancel:
            return QMessageBox::Cancel;
        case MessageAnswer::Yes:
            return QMessageBox::Yes;
        case MessageAnswer::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

MessageAnswer FromQtButton(int button, MessageButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            // Closing the box counts as its safest button.
            return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}

}  // namespace

MessageAnswer DefaultAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::OkCancel:
            return MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Yes;
    }
    return MessageAnswer::Ok;
}

MessageAnswer MessageBox::Show(QWidget* parent, const std::string& text, const std::string& caption,
                               MessageIcon icon, MessageButtons buttons) {
    return Show(parent, text, caption, icon, buttons, DefaultAnswer(buttons));
}

MessageAnswer MessageBox::Show(QWidget* parent, const std::string& text, const std::string& caption,
                               MessageIcon icon, MessageButtons buttons,
                               MessageAnswer defaultAnswer) {
    Record().push_back({text, caption, icon, buttons, defaultAnswer});
    if (!Queue().empty()) {
        MessageAnswer answer = Queue().front();
        Queue().pop_front();
        return answer;
    }
    if (Unattended()) {
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    ToQtButtons(buttons), parent);
    box.setDefaultButton(ToQtButton(defaultAnswer));
    return FromQtButton(box.exec(), buttons);
}

void MessageBox::SetNextAnswer(MessageAnswer answer) {
    Queue().push_back(answer);
}

void MessageBox::SetUnattended(bool unattended) {
    Unattended() = unattended;
}

bool MessageBox::HasQueuedAnswers() {
    return !Queue().empty();
}

const std::vector<ShownMessage>& MessageBox::Shown() {
    return Record();
}

void MessageBox::ClearShown() {
    Record().clear();
}

std::deque<MessageAnswer>& MessageBox::Queue() {
    static std::deque<MessageAnswer> queue;
    return queue;
}

bool& MessageBox::Unattended() {
    static bool unattended = false;
    return unattended;
}

std::vector<ShownMessage>& MessageBox::Record() {
    static std::vector<ShownMessage> record;
    return record;
}
