#pragma once
#include "MessageBox.h"

#include <QList>

namespace corvane {

// Takes every message box while it lives: records it and answers with the queued answers
// (Ok when the queue is empty).
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();

    void answerNext(MsgResult answer) { m_answers.append(answer); }
    const QList<MessageRecord> &messages() const { return m_messages; }
    QStringList texts() const;
    void clear() { m_messages.clear(); }

private:
    QList<MessageRecord> m_messages;
    QList<MsgResult> m_answers;
};

} // namespace corvane
