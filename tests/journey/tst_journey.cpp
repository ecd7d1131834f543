// A user's whole journey through the real forms, by their controls: company data, three
// products, ticks and notes, every label kind into PDF files, then a second start of the
// program on the same folder that finds everything as it was left.
#include "Catalogue.h"
#include "Database.h"
#include "DialogDriver.h"
#include "Fixture.h"
#include "ListView.h"
#include "MessageRecorder.h"
#include "PrintLabels.h"
#include "ProductEditor.h"
#include "Program.h"
#include "ReportEngine.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

using namespace corvane;

namespace {

struct Printout {
    int productId;
    LabelKind kind;
    bool singleSubstance;
    QString pdf;
    bool ok;
};

QPushButton *buttonCaptioned(QWidget *form, const QString &caption)
{
    for (QPushButton *button : form->findChildren<QPushButton *>())
        if (button->text() == caption)
            return button;
    return nullptr;
}

// Answers the name registration dialog with name.
void registerName(const QString &name)
{
    onModalOfType<ProductNameDialog>([name](ProductNameDialog &dialog) {
        dialog.nameEdit->setText(name);
        dialog.okButton->click();
    });
}

// Chooses the product of that name in the selection dialog.
void selectProduct(const QString &name)
{
    onModalOfType<ProductSelectDialog>([name](ProductSelectDialog &dialog) {
        ListModel &items = dialog.productList->items();
        for (int position = 0; position < items.count(); ++position)
            if (items.item(position).subItem == name)
                dialog.productList->setSelectedItem(position);
        dialog.okButton->click();
    });
}

void tick(ProductEditor &editor, int substance)
{
    ListModel &items = editor.substanceList->items();
    for (int position = 0; position < items.count(); ++position)
        if (items.item(position).tag == substance)
            items.setData(items.index(position, 0), Qt::Checked, Qt::CheckStateRole);
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString &pdf)
{
    const auto match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfText(const QString &pdf) { return run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}); }

} // namespace

class TestJourney : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFolder> folder;
    std::vector<Printout> printouts;

    PrintLabelsFunction pdfPrinter()
    {
        return [this](QWidget *, Database &db, int id, LabelKind kind, bool single) {
            const QString pdf = QDir(folder->path()).filePath(QStringLiteral("label%1.pdf").arg(printouts.size()));
            ReportEngine engine;
            engine.setBaseFolder(folder->path());
            engine.setPdfOutput(pdf);
            const bool ok = PrintLabels(db, id, kind, single, engine).outcome.ok();
            printouts.push_back({id, kind, single, pdf, ok});
        };
    }

    QStringList substanceNames()
    {
        auto db = folder->open();
        QStringList names;
        for (const SubstanceRecord &s : catalogue::allSubstances(*db))
            names << s.name;
        return names;
    }

private slots:
    void journey()
    {
        folder = std::make_unique<ProgramFolder>();
        QVERIFY2(folder->isValid(), qPrintable(folder->error()));
        const QStringList names = substanceNames();
        MessageRecorder messages;

        {
            Program program(pdfPrinter());
            MainMenu &menu = program.menu();
            QVERIFY(menu.open());
            menu.show();
            QVERIFY(QTest::qWaitForWindowActive(&menu));

            // 1. The company, entered once.
            onModalOfType<CompanyForm>([](CompanyForm &form) {
                const auto boxes = form.findChildren<QLineEdit *>();
                QCOMPARE(boxes.size(), 3);
                boxes[0]->setText(QStringLiteral("コルベイン化学株式会社"));
                boxes[1]->setText(QStringLiteral("東京都千代田区丸の内1-1-1"));
                boxes[2]->setText(QStringLiteral("TEL 03-1234-5678, FAX 03-1234-5679"));
                buttonCaptioned(&form, QStringLiteral("戻る"))->click();
            });
            menu.companyButton->click();

            // 2. Three products in the editor.
            onModalOfType<ProductEditor>([&](ProductEditor &editor) {
                registerName(QStringLiteral("単一製品"));
                editor.addButton->click();
                QCOMPARE(editor.productNameEdit->text(), QStringLiteral("単一製品"));
                editor.singleSubstanceRadio->click();
                tick(editor, 2);
                editor.notesBox->setPlainText(QStringLiteral("火気厳禁\n換気の良い場所で使用すること"));

                registerName(QStringLiteral("複数製品"));
                editor.addButton->click();
                QCOMPARE(editor.productNameEdit->text(), QStringLiteral("複数製品"));
                QVERIFY(editor.multipleSubstancesRadio->isChecked());
                for (int s = 1; s <= 13; ++s)
                    tick(editor, s);
                editor.notesBox->setPlainText(QStringLiteral("密栓して保管すること"));
                editor.ingredientsBox->setPlainText(QStringLiteral("トルエン 30%\nキシレン 20%"));

                // A copy, then renamed.
                registerName(QStringLiteral("写し"));
                editor.copyButton->click();
                registerName(QStringLiteral("改名製品"));
                editor.renameButton->click();
                QCOMPARE(editor.productNameEdit->text(), QStringLiteral("改名製品"));

                // The copy's labels, then the single product's.
                for (QPushButton *button :
                     {editor.printNormalButton, editor.printAdditional2x6Button, editor.printAdditional3x7Button})
                    button->click();
                selectProduct(QStringLiteral("単一製品"));
                editor.listButton->click();
                QCOMPARE(editor.productNameEdit->text(), QStringLiteral("単一製品"));
                QVERIFY(editor.singleSubstanceRadio->isChecked());
                for (QPushButton *button : {editor.printNormalButton, editor.printModelButton,
                                            editor.printAdditional2x6Button, editor.printAdditional3x7Button})
                    button->click();
                editor.backButton->click();
            });
            menu.editorButton->click();
            QCOMPARE(menu.productNameEdit->text(), QStringLiteral("単一製品"));
            QVERIFY(menu.printModelButton->isEnabled());

            // 3. From the menu: the multiple-substance product and the list of all targets.
            selectProduct(QStringLiteral("複数製品"));
            menu.listButton->click();
            QCOMPARE(menu.productNameEdit->text(), QStringLiteral("複数製品"));
            for (QPushButton *button : {menu.printNormalButton, menu.printAdditional2x6Button,
                                        menu.printAdditional3x7Button, menu.printAllSubstancesButton})
                button->click();
            menu.quitButton->click(); // 終了
        }

        QVERIFY2(messages.messages().isEmpty(), qPrintable(messages.texts().join(QLatin1Char('\n'))));
        // 改名製品: normal 13 on six-label sheets, 12 + 1, 13 on 21; 単一製品: one label,
        // model, 12 and 21 copies; 複数製品 the same three as the copy; the whole list.
        const std::vector<int> expectedPages{3, 2, 1, 1, 1, 1, 1, 3, 2, 1, (static_cast<int>(names.size()) + 11) / 12};
        QCOMPARE(printouts.size(), expectedPages.size());
        for (size_t i = 0; i < printouts.size(); ++i) {
            QVERIFY2(printouts[i].ok, qPrintable(printouts[i].pdf));
            QCOMPARE(pageCount(printouts[i].pdf), expectedPages[i]);
        }
        QVERIFY(pdfText(printouts[0].pdf).contains(QStringLiteral("改名製品")));
        QVERIFY(pdfText(printouts[0].pdf).contains(QStringLiteral("コルベイン化学株式会社")));
        QVERIFY(pdfText(printouts[1].pdf).contains(names[12]));
        QVERIFY(pdfText(printouts[3].pdf).contains(names[1]));
        QVERIFY(pdfText(printouts[4].pdf).contains(QStringLiteral("単一製品")));

        // 4. The second start finds everything as it was left.
        {
            Program program(pdfPrinter());
            MainMenu &menu = program.menu();
            QVERIFY(menu.open());
            QCOMPARE(menu.productNameEdit->text(), QStringLiteral("複数製品"));
            QVERIFY(!menu.printModelButton->isEnabled());
            menu.show();
            QVERIFY(QTest::qWaitForWindowActive(&menu));

            onModalOfType<CompanyForm>([](CompanyForm &form) {
                QCOMPARE(form.findChildren<QLineEdit *>().at(0)->text(), QStringLiteral("コルベイン化学株式会社"));
                buttonCaptioned(&form, QStringLiteral("戻る"))->click();
            });
            menu.companyButton->click();

            onModalOfType<ProductEditor>([&](ProductEditor &editor) {
                QCOMPARE(editor.state().ticks.ticked().size(), size_t(13));
                QCOMPARE(editor.text(editor.ingredientsBox), QStringLiteral("トルエン 30%\r\nキシレン 20%"));
                editor.tickedOnlyBox->setChecked(true);
                QCOMPARE(editor.substanceList->items().count(), 13);
                selectProduct(QStringLiteral("改名製品"));
                editor.listButton->click();
                QCOMPARE(editor.text(editor.notesBox), QStringLiteral("密栓して保管すること"));
                QCOMPARE(editor.substanceList->items().count(), 13);
                selectProduct(QStringLiteral("単一製品"));
                editor.listButton->click();
                QVERIFY(editor.singleSubstanceRadio->isChecked());
                QCOMPARE(editor.text(editor.notesBox), QStringLiteral("火気厳禁\r\n換気の良い場所で使用すること"));
                QCOMPARE(editor.substanceList->items().count(), 1);
                QCOMPARE(editor.substanceList->items().item(0).tag, 2);
                editor.backButton->click();
            });
            menu.editorButton->click();
            menu.close();
        }
        auto db = folder->open();
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 製品情報")).toInt(), 3);
        QVERIFY(messages.messages().isEmpty());
    }
};

QTEST_MAIN(TestJourney)
#include "tst_journey.moc"
