#include "MessageRecorder.h"

namespace corvane {

MessageRecorder::MessageRecorder()
{
    setMessageHandler([this](const MessageRecord &record) {
        m_messages.append(record);
        return m_answers.isEmpty() ? MsgResult::Ok : m_answers.takeFirst();
    });
}

MessageRecorder::~MessageRecorder() { setMessageHandler(nullptr); }

QStringList MessageRecorder::texts() const
{
    QStringList result;
    for (const MessageRecord &record : m_messages)
        result << record.text;
    return result;
}

} // namespace corvane
