#include "DialogButtons.h"

#include <QBoxLayout>
#include <QPushButton>

namespace corvane {

QPushButton *addDialogButton(QWidget *dialog, QBoxLayout *row, const QString &caption)
{
    auto *button = new QPushButton(caption, dialog);
    button->setFixedSize(105, 33);
    row->addWidget(button);
    return button;
}

} // namespace corvane
