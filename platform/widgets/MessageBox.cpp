#include "MessageBox.h"
#include "Application.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace corvane {
namespace {
MessageHandler &handler()
{
    static MessageHandler value;
    return value;
}
} // namespace

void setMessageHandler(MessageHandler h) { handler() = std::move(h); }

MsgResult MsgBox(QWidget *parent, const QString &text, MsgIcon icon, MsgButtons buttons)
{
    const MessageRecord record{text, Application::title(), icon, buttons};
    if (handler())
        return handler()(record);

    QMessageBox box(icon == MsgIcon::Question ? QMessageBox::Question : QMessageBox::Warning, record.title, text,
                    buttons == MsgButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::Ok);
    // The program's own words, whatever translation of Qt is loaded.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    if (QAbstractButton *cancel = box.button(QMessageBox::Cancel))
        cancel->setText(QStringLiteral("キャンセル"));
    return box.exec() == QMessageBox::Ok ? MsgResult::Ok : MsgResult::Cancel;
}

} // namespace corvane
