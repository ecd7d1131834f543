#include "Fonts.h"
#include "Program.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setFont(corvane::gothicFont(10.5));
    corvane::Program program(corvane::printWithPreview);
    if (!program.menu().Form_Load())
        return 1;
    program.menu().show();
    return app.exec();
}
