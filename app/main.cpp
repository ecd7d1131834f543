#include "FrmMenu.h"
#include "Fonts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setFont(corvane::gothicFont(10.5));
    corvane::FrmMenu menu(corvane::MenuActions{});
    if (!menu.Form_Load())
        return 1;
    menu.show();
    return app.exec();
}
