#include "CleanInput.h"

#include "TypedText.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

namespace corvane {

void cleanOnInput(QLineEdit *box)
{
    QObject::connect(box, &QLineEdit::textChanged, box, [box](const QString &text) {
        const QString clean = cleanText(text, TextLines::One);
        if (clean == text)
            return;
        const int cursor = box->cursorPosition() - int(text.size() - clean.size());
        box->setText(clean);
        box->setCursorPosition(qMax(0, cursor));
    });
}

void cleanOnInput(QPlainTextEdit *box)
{
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [box] {
        // The document keeps a typed line separator inside its block; toPlainText() would
        // show it as a line break already, so the block texts are read.
        QString text;
        for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next())
            text += (block == box->document()->begin() ? QString() : QStringLiteral("\n")) + block.text();
        QString clean = cleanText(text, TextLines::Many);
        clean.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (clean == text)
            return;
        const int cursor = box->textCursor().position() - int(text.size() - clean.size());
        box->setPlainText(clean);
        QTextCursor moved = box->textCursor();
        moved.setPosition(qBound(0, cursor, int(clean.size())));
        box->setTextCursor(moved);
    });
}

} // namespace corvane
