#pragma once
#include <QString>

class QBoxLayout;
class QPushButton;
class QWidget;

namespace corvane {

// A button of a small dialog's row (105 × 33 pixels, as every such button of the program), added
// at the end of the row.
QPushButton *addDialogButton(QWidget *dialog, QBoxLayout *row, const QString &caption);

} // namespace corvane
