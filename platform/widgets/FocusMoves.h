#pragma once
#include <QString>

#include <functional>

class QAbstractButton;
class QWidget;
class QKeyEvent;
class QObject;

namespace corvane {

// The numeric keypad's separator key of the old keyboards (key code 108).
bool isKeypadSeparator(const QKeyEvent *event);

// Enter in a single-line box, and the keypad separator key in any box, move the focus to
// the next control as Tab does. Enter in a multi-line box keeps its new line.
void moveFocusOnEnter(QWidget *box);

// Enter on the focused button presses it, as Space does.
void clickOnEnter(QAbstractButton *button);

// Escape does not close the form: users press it to cancel an input-method conversion.
void ignoreEscape(QWidget *form);

// Sends one Tab keystroke to the widget, so the focus moves on as if the user pressed Tab.
void sendTab(QWidget *widget);

// Calls handler when box loses the focus to another control of its own window: not when
// the window is deactivated, a message box opens or a menu pops up. The form deletes the
// returned watcher in its destructor, so no handler runs on a half-destroyed form.
QObject *onLostFocus(QWidget *box, std::function<void()> handler);

} // namespace corvane
