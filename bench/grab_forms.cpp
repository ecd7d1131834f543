// Grabs every form of the program to a PNG, as a user sees it, for review:
//   corvane_grab_forms DATA_FOLDER OUTPUT_FOLDER [PRODUCT_NAME]
// With a product, also the print preview of its 12-up sheet; then Qt's print dialog with its
// options shown.
// Prints each form's size and its smallest size, which must fit a 1366 x 768 screen with a
// task bar (about 700 pixels of height, title bar included).
#include "DataLocation.h"
#include "Fonts.h"
#include "ProductEditor.h"
#include "Program.h"

#include "Translations.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

using namespace corvane;

namespace {

void grab(QWidget *form, const QString &folder, const QString &name)
{
    form->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    QTextStream(stdout) << name << ": " << form->width() << " x " << form->height() << ", smallest "
                        << form->minimumSizeHint().width() << " x " << form->minimumSizeHint().height() << '\n';
}

// Grabs the next modal form once it is open, then closes it.
void grabNextModal(const QString &folder, const QString &name)
{
    QTimer::singleShot(300, [folder, name] {
        if (QWidget *form = QApplication::activeModalWidget()) {
            grab(form, folder, name);
            form->close();
        }
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    useJapaneseTranslations();
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        QTextStream(stderr) << "usage: corvane_grab_forms DATA_FOLDER OUTPUT_FOLDER [PRODUCT_NAME]\n";
        return 2;
    }
    setDataOption(QDir(args[1]).absolutePath());
    app.setFont(gothicFont(10.5));
    QDir().mkpath(args[2]);
    Program program(printWithPreview);
    MainMenu &menu = program.menu();
    if (!menu.open())
        return 1;
    if (args.size() > 3) {
        menu.productNameEdit->setText(args[3]);
        menu.checkProductName();
    }
    menu.show();
    grab(&menu, args[2], QStringLiteral("menu"));
    grabNextModal(args[2], QStringLiteral("company"));
    menu.openCompany();
    // The editor, then its list when a search finds nothing.
    QTimer::singleShot(300, [folder = args[2]] {
        auto *editor = qobject_cast<ProductEditor *>(QApplication::activeModalWidget());
        if (!editor)
            return;
        grab(editor, folder, QStringLiteral("editor"));
        editor->searchBox->setText(QStringLiteral("該当しない物質名"));
        grab(editor, folder, QStringLiteral("editor-no-match"));
        editor->searchBox->clear();
        editor->close();
    });
    menu.openEditor();
    grabNextModal(args[2], QStringLiteral("select"));
    menu.chooseProduct();
    if (args.size() > 3) {
        grabNextModal(args[2], QStringLiteral("preview"));
        menu.printAdditional2x6();
    }
    QPrinter printer;
    QPrintDialog dialog(&printer);
    QTimer::singleShot(300, &dialog, [&] {
        for (QPushButton *button : dialog.findChildren<QPushButton *>())
            if (button->text().contains(QStringLiteral(">>")))
                button->click(); // the options: pages, duplex, colour
        QTimer::singleShot(300, &dialog, [&] {
            grab(&dialog, args[2], QStringLiteral("print-dialog"));
            if (auto *tabs = dialog.findChild<QTabWidget *>()) {
                tabs->setCurrentIndex(tabs->count() - 1);
                grab(&dialog, args[2], QStringLiteral("print-dialog-options"));
            }
            dialog.reject();
        });
    });
    dialog.exec();
    return 0;
}
