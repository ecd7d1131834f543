// Grabs the forms the Japanese user guide shows (docs/ja/使い方.md), as a user sees them on a
// 1366 x 768 screen, from demo data it makes in a new Data folder:
//   corvane_guide_pictures SOURCE_ROOT DATA_FOLDER OUTPUT_FOLDER
// DATA_FOLDER must not exist yet. Ends with status 1, naming the picture, when a form did not
// open, a control is missing, or a picture is empty, blank or larger than the screen.
#include "Catalogue.h"
#include "DataFolder.h"
#include "DataLocation.h"
#include "Database.h"
#include "Fonts.h"
#include "ListView.h"
#include "ProductEditor.h"
#include "ProductMixture.h"
#include "Program.h"
#include "RunDatabase.h"
#include "Translations.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>
#include <QToolBar>

#include <cstdlib>
#include <functional>

using namespace corvane;

namespace {

QString outputFolder;
QStringList failures;

void fail(const QString &name, const QString &why) { failures << name + QStringLiteral(": ") + why; }

// A picture of one colour is a form that did not paint.
bool blank(const QImage &image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            if (image.pixel(x, y) != first)
                return false;
    return true;
}

void grab(QWidget *form, const QString &name)
{
    const QImage image = form->grab().toImage();
    if (image.isNull() || image.width() < 100 || image.height() < 50)
        return fail(name, QStringLiteral("empty picture"));
    if (blank(image))
        return fail(name, QStringLiteral("blank picture"));
    if (image.width() > 1366 || image.height() > 768)
        return fail(name, QStringLiteral("%1 x %2 is larger than the screen").arg(image.width()).arg(image.height()));
    if (!image.save(QDir(outputFolder).filePath(name + QStringLiteral(".png"))))
        return fail(name, QStringLiteral("cannot write the file"));
    QTextStream(stdout) << name << ".png " << image.width() << " x " << image.height() << '\n';
}

// Runs work on the next modal form of type Form once it is open, then closes it; any other
// form (a message) is a failure, named with its text, and closed.
template <typename Form>
void onNextModal(const QString &name, std::function<void(Form *)> work)
{
    QTimer::singleShot(0, [name, work] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *form = qobject_cast<Form *>(modal)) {
            work(form);
        } else if (auto *message = qobject_cast<QMessageBox *>(modal)) {
            fail(name, QStringLiteral("a message came instead: ") + message->text());
        } else {
            fail(name, QStringLiteral("the form did not open"));
        }
        if (modal && modal->isVisible())
            modal->close();
    });
}

// The form's first control of that type; a missing one is a failure of the picture.
template <typename Widget>
Widget *child(QWidget *form, const QString &name)
{
    if (auto *widget = form->findChild<Widget *>())
        return widget;
    fail(name, QStringLiteral("a control is missing"));
    return nullptr;
}

QPushButton *button(QWidget *form, const QString &caption, const QString &name)
{
    for (QPushButton *widget : form->findChildren<QPushButton *>())
        if (widget->text() == caption)
            return widget;
    fail(name, QStringLiteral("no button 「%1」").arg(caption));
    return nullptr;
}

std::vector<int> substanceNumbers(Database &db, const QStringList &names)
{
    std::vector<int> numbers;
    for (const SubstanceRecord &substance : catalogue::allSubstances(db))
        if (names.contains(substance.name))
            numbers.push_back(substance.id);
    return numbers;
}

// A supplier, a product of three substances and one of a single substance.
bool makeDemoData(const QString &sourceRoot, const QString &dataFolder)
{
    QString error;
    if (QFileInfo::exists(dataFolder))
        error = QStringLiteral("%1 exists already").arg(dataFolder);
    else if (const Outcome created = createDataFolder(dataFolder, dataSourcesIn(sourceRoot)); !created)
        error = created.errorText();
    else {
        setDataOption(dataFolder);
        auto opened = openRunDatabase(locateData());
        error = opened.errorText();
        if (const auto db = opened ? std::move(*opened) : nullptr) {
            // The first write that fails is told; the demo is then incomplete.
            const auto written = [&](const Outcome &write) {
                if (!write && error.isEmpty())
                    error = write.errorText();
                return write.ok();
            };
            written(catalogue::writeCompany(*db, {QStringLiteral("コルベイン化学株式会社"),
                                                  QStringLiteral("東京都千代田区神田一丁目2番3号 コルベインビル4階"),
                                                  QStringLiteral("TEL 03-1234-5678 FAX 03-1234-5679")})
                        .outcome());
            const std::vector<int> thinner = substanceNumbers(
                *db, {QStringLiteral("トルエン"), QStringLiteral("メタノール"), QStringLiteral("酢酸エチル")});
            const std::vector<int> hexane = substanceNumbers(*db, {QStringLiteral("ヘキサン")});
            if (thinner.size() != 3 || hexane.size() != 1) {
                error = QStringLiteral("the demo substances are not in the master");
            } else {
                const int first = **catalogue::registerProduct(*db, QStringLiteral("ラッカーシンナー LT-200"));
                // Its contents (トルエン, メタノール, 酢酸エチル by number) and its own data.
                ProductMixture mixture;
                const double percents[] = {40, 20, 30};
                for (size_t i = 0; i < thinner.size(); ++i)
                    mixture.contents[thinner[i]] = ghs::Content::value(percents[i]);
                mixture.contents[thinner[0]] = ghs::Content::range(35, 40);
                mixture.properties.flashPointCelsius = 4;
                mixture.properties.initialBoilingPointCelsius = 65;
                mixture.properties.remainderHarmless = true;
                written(catalogue::saveProduct(
                            *db, first, thinner,
                            {QStringLiteral("ラッカーシンナー LT-200"),
                             QStringLiteral("火気厳禁。\r\n直射日光を避け、換気の良い冷暗所に保管すること。\r\n"
                                            "子供の手の届かない所に置くこと。"),
                             QStringLiteral("トルエン 35〜40%\r\n酢酸エチル 30%\r\nメタノール 20%"), 0},
                            std::nullopt, &mixture)
                            .outcome());
                const int second = **catalogue::registerProduct(*db, QStringLiteral("ヘキサン（試薬）"));
                written(catalogue::saveProduct(*db, second, hexane,
                                               {QStringLiteral("ヘキサン（試薬）"), QStringLiteral("火気厳禁。"),
                                                QStringLiteral("ヘキサン 99%"), 1})
                            .outcome());
                if (error.isEmpty())
                    return true;
            }
        }
    }
    QTextStream(stderr) << "corvane_guide_pictures: " << error << '\n';
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    useJapaneseTranslations();
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        QTextStream(stderr) << "usage: corvane_guide_pictures SOURCE_ROOT DATA_FOLDER OUTPUT_FOLDER\n";
        return 2;
    }
    outputFolder = args[3];
    QDir().mkpath(outputFolder);
    app.setFont(gothicFont(10.5));
    if (!makeDemoData(args[1], QDir(args[2]).absolutePath()))
        return 1;
    // A form left open would wait for ever.
    QTimer::singleShot(60000, [] {
        QTextStream(stderr) << "corvane_guide_pictures: a form stayed open; " << failures.join(u'\n') << '\n';
        std::_Exit(1);
    });

    Program program(printWithPreview);
    MainMenu &menu = program.menu();
    if (!menu.open())
        return 1;
    menu.productNameEdit->clear(); // the first start: no product chosen yet
    menu.checkProductName();
    menu.show();
    grab(&menu, QStringLiteral("menu"));

    onNextModal<QDialog>(QStringLiteral("company"), [](QDialog *form) { grab(form, QStringLiteral("company")); });
    menu.openCompany();

    onNextModal<ProductEditor>(QStringLiteral("editor"), [](ProductEditor *editor) {
        // A new product's name, as the 追加 button asks for it.
        onNextModal<QDialog>(QStringLiteral("register"), [](QDialog *form) {
            if (auto *name = child<QLineEdit>(form, QStringLiteral("register")))
                name->setText(QStringLiteral("ラッカーシンナー LT-300"));
            grab(form, QStringLiteral("register"));
        });
        editor->addButton->click(); // cancelled: nothing is registered
        // The product with its substances ticked, then the list searched by CAS RN.
        editor->productNameEdit->setText(QStringLiteral("ラッカーシンナー LT-200"));
        editor->checkProductName();
        editor->tickedOnlyBox->setChecked(true);
        grab(editor, QStringLiteral("editor"));
        editor->tickedOnlyBox->setChecked(false);
        editor->searchBox->setText(QStringLiteral("108-88-3"));
        grab(editor, QStringLiteral("editor-search"));
        editor->searchBox->clear();
        // A product of a single substance: the model label can be printed.
        editor->productNameEdit->setText(QStringLiteral("ヘキサン（試薬）"));
        editor->checkProductName();
        editor->tickedOnlyBox->setChecked(true);
        grab(editor, QStringLiteral("editor-single"));
    });
    menu.openEditor();

    onNextModal<QDialog>(QStringLiteral("select"), [](QDialog *form) {
        // The first product by name, marked as the dialog opens: the single substance.
        child<ListView>(form, QStringLiteral("select"));
        grab(form, QStringLiteral("select"));
        if (auto *ok = button(form, QStringLiteral("ＯＫ"), QStringLiteral("select")))
            ok->click();
    });
    menu.chooseProduct();
    grab(&menu, QStringLiteral("menu-product"));

    // The additional labels, 12 to a page, in the print preview; then its position adjustment.
    onNextModal<QPrintPreviewDialog>(QStringLiteral("preview"), [](QPrintPreviewDialog *preview) {
        preview->resize(1200, 700);
        grab(preview, QStringLiteral("preview"));
        onNextModal<QDialog>(QStringLiteral("offset"), [](QDialog *form) { grab(form, QStringLiteral("offset")); });
        QAction *offset = nullptr;
        if (auto *toolBar = child<QToolBar>(preview, QStringLiteral("preview")))
            for (QAction *action : toolBar->actions())
                if (action->text() == QStringLiteral("印刷位置の調整"))
                    offset = action;
        if (offset)
            offset->trigger();
        else
            fail(QStringLiteral("offset"), QStringLiteral("no 印刷位置の調整 in the preview"));
    });
    menu.printAdditional2x6();

    if (!failures.isEmpty()) {
        QTextStream(stderr) << "corvane_guide_pictures: " << failures.join(QStringLiteral("\ncorvane_guide_pictures: "))
                            << '\n';
        return 1;
    }
    return 0;
}
