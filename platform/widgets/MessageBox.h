#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace corvane {

enum class MsgIcon { Exclamation, Question };
enum class MsgButtons { Ok, OkCancel };
enum class MsgResult { Ok, Cancel };

struct MessageRecord {
    QString text;
    QString title;
    MsgIcon icon;
    MsgButtons buttons;
};

// Every message of the program goes through here: the application title as the window
// title, the given icon and buttons. A test installs a handler that records the message
// and answers it, so no test ever blocks on a modal box.
MsgResult MsgBox(QWidget *parent, const QString &text, MsgIcon icon = MsgIcon::Exclamation,
                 MsgButtons buttons = MsgButtons::Ok);

using MessageHandler = std::function<MsgResult(const MessageRecord &)>;
void setMessageHandler(MessageHandler handler);

} // namespace corvane
