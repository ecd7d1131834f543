#pragma once
#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <QTimer>

#include <functional>

namespace corvane {

// Runs steps once dialog is open as the modal window, from inside its event loop; the steps
// are to close it. A dialog left open by a failed check is closed here, so a failing test
// cannot hang. When the dialog never opens, the steps die with it unrun.
template <class Dialog, class Steps>
void onNextModal(Dialog &dialog, Steps steps)
{
    QTimer::singleShot(0, &dialog, [&dialog, steps = std::move(steps)]() mutable {
        if (QApplication::activeModalWidget() == &dialog && QTest::qWaitForWindowActive(&dialog))
            steps();
        else
            QTest::qFail("the dialog is not the open modal window", __FILE__, __LINE__);
        if (dialog.isVisible()) {
            QTest::qFail("the dialog was left open", __FILE__, __LINE__);
            dialog.close();
        }
    });
}

// Runs steps on the next modal dialog of type T once it is open (from inside its own event
// loop), for dialogs the test has no handle on; the steps are to close it. A dialog left
// open by a failed check is closed here.
template <class T>
void onModalOfType(std::function<void(T &)> steps, int tries = 200)
{
    QTimer::singleShot(10, [steps = std::move(steps), tries] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog) {
            if (tries > 0)
                onModalOfType<T>(steps, tries - 1);
            else
                QTest::qFail("the dialog did not open", __FILE__, __LINE__);
            return;
        }
        steps(*dialog);
        if (dialog->isVisible()) {
            QTest::qFail("the dialog was left open", __FILE__, __LINE__);
            dialog->close();
        }
    });
}

// Enters text into a box as the Japanese input method does, committing it at once (the key
// clicks of QTest know only ASCII).
inline void commitText(QWidget *box, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

} // namespace corvane
