// SPDX-License-Identifier: GPL-3.0-or-later
// Message boxes of the desktop program. Tests queue answers; a queued answer is taken
// instead of showing the box, and every box, shown or not, is recorded.
#pragma once

#include <deque>
#include <string>
#include <vector>

class QWidget;

enum class MessageIcon { Stop, Exclamation, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
    MessageButtons buttons;
    // The button Enter presses.
    MessageAnswer defaultAnswer;
};

// A box's default button is the answer that changes nothing: an OK/Cancel question confirms
// something that erases, resets or overwrites, and Enter must not be that. Yes/No/Cancel keeps
// Yes (save) first, which loses nothing either.
MessageAnswer DefaultAnswer(MessageButtons buttons);

class MessageBox {
public:
    static MessageAnswer Show(QWidget* parent, const std::string& text, const std::string& caption,
                              MessageIcon icon, MessageButtons buttons);
    // As Show, with the button Enter presses given: only for a question whose first answer is
    // what the user just asked for.
    static MessageAnswer Show(QWidget* parent, const std::string& text, const std::string& caption,
                              MessageIcon icon, MessageButtons buttons,
                              MessageAnswer defaultAnswer);

    static void SetNextAnswer(MessageAnswer answer);
    // Unattended, a box without a queued answer is not shown either: it takes its safest
    // answer (OK when it has no other, else Cancel). For tests, so a stray box fails an
    // assertion instead of waiting for a user.
    static void SetUnattended(bool unattended);
    static bool HasQueuedAnswers();
    static const std::vector<ShownMessage>& Shown();
    static void ClearShown();

private:
    static std::deque<MessageAnswer>& Queue();
    static bool& Unattended();
    static std::vector<ShownMessage>& Record();
};
