#pragma once
#include <QString>

class QWidget;

namespace corvane {

// The Japanese user guide (使い方.md with its pictures), as the package installs it
// (<prefix>/share/doc/corvane) or as the build copies it beside the program (doc/).
QString userGuideFile();

// Shows the guide in a window of its own beside the main menu; says so when it is missing.
// The window is the parent's child, reused while it is open.
void showUserGuide(QWidget *parent);

} // namespace corvane
