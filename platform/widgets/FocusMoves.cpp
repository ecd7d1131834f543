#include "FocusMoves.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVariant>
#include <QWidget>

namespace corvane {
namespace {

bool isMultiLine(const QWidget *box)
{
    return qobject_cast<const QPlainTextEdit *>(box) || qobject_cast<const QTextEdit *>(box);
}

class EnterMovesFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *box = static_cast<QWidget *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !isMultiLine(box);
        if (!enter && !isKeypadSeparator(key))
            return false;
        sendTab(box);
        // Consumed, so a dialog's default button is not pressed as well.
        return true;
    }
};

class EnterClicks : public QObject {
public:
    explicit EnterClicks(QAbstractButton *button) : QObject(button), m_button(button) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        m_button->click();
        return true;
    }

private:
    QAbstractButton *m_button;
};

class EscapeIgnored : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape;
    }
};

class LostFocusWatcher : public QObject {
public:
    LostFocusWatcher(QObject *parent, std::function<void()> handler) : QObject(parent), m_handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::FocusOut)
            return false;
        switch (static_cast<QFocusEvent *>(event)->reason()) {
        case Qt::ActiveWindowFocusReason:
        case Qt::PopupFocusReason:
        case Qt::MenuBarFocusReason: return false;
        default: m_handler(); return false;
        }
    }

private:
    std::function<void()> m_handler;
};

} // namespace

bool isKeypadSeparator(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Comma && (event->modifiers() & Qt::KeypadModifier);
}

void moveFocusOnEnter(QWidget *box) { box->installEventFilter(new EnterMovesFocus(box)); }

void clickOnEnter(QAbstractButton *button) { button->installEventFilter(new EnterClicks(button)); }

void ignoreEscape(QWidget *form) { form->installEventFilter(new EscapeIgnored(form)); }

void sendTab(QWidget *widget)
{
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(widget, &tab);
}

QObject *onLostFocus(QWidget *box, std::function<void()> handler)
{
    auto *watcher = new LostFocusWatcher(box, std::move(handler));
    box->installEventFilter(watcher);
    return watcher;
}

} // namespace corvane
