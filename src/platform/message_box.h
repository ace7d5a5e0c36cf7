// Message boxes of the desktop program. Tests queue answers; a queued answer is taken
// instead of showing the box, and every box, shown or not, is recorded.
#pragma once

#include <deque>
#include <string>
#include <vector>

class QWidget;

enum class MessageIcon { Stop, Exclamation, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
    MessageButtons buttons;
};

class MessageBox {
public:
    static MessageAnswer Show(QWidget* parent, const std::string& text, const std::string& caption,
                              MessageIcon icon, MessageButtons buttons);

    static void SetNextAnswer(MessageAnswer answer);
    static bool HasQueuedAnswers();
    static const std::vector<ShownMessage>& Shown();
    static void ClearShown();

private:
    static std::deque<MessageAnswer>& Queue();
    static std::vector<ShownMessage>& Record();
};
