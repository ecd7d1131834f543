#include "Catalogue.h"
#include "Database.h"
#include "EditorDriver.h"
#include "Fixture.h"
#include "FocusMoves.h"
#include "ListView.h"
#include "MessageRecorder.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace corvane;

namespace {
int loadedId(const ProductEditor &form) { return form.state().productId.value_or(-1); }
} // namespace

class TestEditorCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<Database> db;
    std::vector<PrintCall> prints;
    // What the stand-in dialogs answer.
    int selectId = -1;
    QString selectName;
    QString registerName;
    std::optional<QString> lastOldName;

    EditorActions actions()
    {
        EditorActions a;
        a.chooseProduct = [this](Database &, QString &name) {
            if (selectId > 0)
                name = selectName;
            return selectId;
        };
        a.askProductName = [this](Database &database, QString &name, const std::optional<QString> &oldName) {
            lastOldName = oldName;
            name = registerName;
            if (name.isEmpty() || oldName)
                return 0;
            return catalogue::registerProduct(database, name).value().value_or(0);
        };
        a.printLabels = [this](QWidget *, Database &, int id, LabelKind kind, bool single) {
            prints.push_back({id, kind, single});
        };
        return a;
    }

private slots:
    void init()
    {
        folder = std::make_unique<ProgramFolder>();
        QVERIFY2(folder->isValid(), qPrintable(folder->error()));
        db = folder->open();
        QVERIFY(db);
        prints.clear();
        selectId = -1;
        registerName.clear();
        lastOldName.reset();
    }
    void cleanup()
    {
        db.reset();
        folder.reset();
    }

    void addRegistersAndLoadsTheNewProduct()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("製品A"));
        ProductEditor form(actions());
        const QString result = runEditor(form, *db, QStringLiteral("製品A"), [&] {
            tick(form, 6, true);
            registerName = QStringLiteral("新製品");
            form.addProduct();
            QVERIFY(!lastOldName);
            QCOMPARE(loadedId(form), 2);
            QCOMPARE(form.productNameEdit->text(), QStringLiteral("新製品"));
            QVERIFY(marked(form).isEmpty());
            QVERIFY(!form.state().nameAwaitsLookup);
            // Cancelled: nothing changes.
            registerName.clear();
            form.addProduct();
            QCOMPARE(loadedId(form), 2);
        });
        QCOMPARE(result, QStringLiteral("新製品"));
        QCOMPARE(storedEntries(*db, a).front().mid(1, 1), QList<int>{6});
        QCOMPARE(catalogue::productById(*db, 2)->itemCount.value(), 0);
    }

    void deleteAsksAndRemovesOnlyOnOk()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("Say \"hi\""));
        catalogue::addEntries(*db, a, {1, 2});
        const int targets = static_cast<int>(catalogue::entries(*db, -1).size());
        MessageRecorder messages;
        ProductEditor form(actions());
        runEditor(form, *db, QStringLiteral("Say \"hi\""), [&] {
            messages.answerNext(MsgResult::Cancel);
            form.deleteProduct();
            QCOMPARE(messages.texts(), QStringList{QStringLiteral("製品名:Say \"hi\" を削除します。よろしいですか？")});
            QCOMPARE(messages.messages().front().icon, MsgIcon::Question);
            QCOMPARE(messages.messages().front().buttons, MsgButtons::OkCancel);
            QCOMPARE(loadedId(form), a);
            QVERIFY(catalogue::productById(*db, a));

            form.deleteProduct(); // answered OK
            QCOMPARE(loadedId(form), -1);
            QCOMPARE(form.productNameEdit->text(), QString());
            QVERIFY(marked(form).isEmpty());
            QVERIFY(!catalogue::productById(*db, a));
            QVERIFY(storedEntries(*db, a).isEmpty());

            // With no product loaded: no question, nothing deleted.
            messages.clear();
            form.deleteProduct();
            QVERIFY(messages.messages().isEmpty());
        });
        QCOMPARE(static_cast<int>(catalogue::entries(*db, -1).size()), targets);
    }

    void copyThenCloseGivesTwoProductsWithTheSameContent()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("元"));
        ProductEditor form(actions());
        runEditor(form, *db, QStringLiteral("元"), [&] {
            tick(form, 3, true);
            tick(form, 30, true);
            form.setText(form.notesBox, QStringLiteral("注意"));
            form.setText(form.ingredientsBox, QStringLiteral("成分"));
            registerName = QStringLiteral("写し");
            form.copyProduct();
            QCOMPARE(form.productNameEdit->text(), QStringLiteral("写し"));
            QCOMPARE(loadedId(form), 2);
            QCOMPARE(marked(form), (QList<int>{3, 30}));
        });
        for (int id : {a, 2}) {
            QCOMPARE(storedEntries(*db, id), (QList<QList<int>>{{1, 3, 30, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));
            QCOMPARE(catalogue::productById(*db, id)->notesText(), QStringLiteral("注意"));
            QCOMPARE(catalogue::productById(*db, id)->ingredientsText(), QStringLiteral("成分"));
        }
        QCOMPARE(catalogue::productById(*db, a)->nameText(), QStringLiteral("元"));
        QCOMPARE(catalogue::productById(*db, 2)->nameText(), QStringLiteral("写し"));
    }

    // The contents and the product's data go with the product: saved with it, copied with
    // it, deleted with it; a substance unticked loses its content; bad input names the substance.
    void contentsAndProductDataFollowTheProduct()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("元"));
        ProductEditor form(actions());
        runEditor(form, *db, QStringLiteral("元"), [&] {
            for (int s : {3, 30, 40})
                tick(form, s, true);
            typeContent(form, 3, QStringLiteral("１０～２０"));
            typeContent(form, 30, QStringLiteral("5x"));
            QVERIFY2(form.classificationBox->toPlainText().contains(form.state().substance(30).name),
                     qPrintable(form.classificationBox->toPlainText()));
            typeContent(form, 30, QStringLiteral("5"));
            typeContent(form, 40, QStringLiteral("1"));
            QTest::keyClicks(form.flashPointBox, QStringLiteral("21"));
            form.remainderHarmlessBox->click();
            tick(form, 40, false);
            registerName = QStringLiteral("写し");
            form.copyProduct();
            QCOMPARE(loadedId(form), 2);
        });
        ProductMixture expected;
        expected.contents = {{3, ghs::Content::range(10, 20)}, {30, ghs::Content::value(5)}};
        expected.properties.flashPointCelsius = 21;
        expected.properties.remainderHarmless = true;
        for (int id : {a, 2})
            QVERIFY2(catalogue::productMixture(*db, id) == expected, qPrintable(QString::number(id)));
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 製品含有率")).toInt(), 4);

        MessageRecorder messages;
        ProductEditor copy(actions());
        runEditor(copy, *db, QStringLiteral("写し"), [&] { copy.deleteProduct(); }); // answered OK
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 製品含有率 WHERE ProductID = 2")).toInt(), 0);
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 製品物性 WHERE ProductID = 2")).toInt(), 0);
        QVERIFY(catalogue::productMixture(*db, a) == expected);
    }

    void undoRestoresTheStoredTicksWithoutWriting()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("製品A"));
        catalogue::addEntries(*db, a, {4});
        ProductEditor form(actions());
        runEditor(form, *db, QStringLiteral("製品A"), [&] {
            tick(form, 5, true);
            form.singleSubstanceRadio->click();
            form.undoChanges();
            QCOMPARE(marked(form), QList<int>{4});
            QVERIFY(form.multipleSubstancesRadio->isChecked());
            QCOMPARE(loadedId(form), a);
            QVERIFY(!catalogue::productById(*db, a)->itemType); // nothing written
        });
        ProductEditor empty(actions());
        runEditor(empty, *db, QString(), [&] {
            empty.undoChanges();
            QCOMPARE(loadedId(empty), -1);
            QCOMPARE(empty.productNameEdit->text(), QString());
        });
    }

    void selectReloadsOrSwitchesProducts()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("製品A"));
        const int b = **catalogue::registerProduct(*db, QStringLiteral("製品B"));
        ProductEditor form(actions());
        runEditor(form, *db, QStringLiteral("製品A"), [&] {
            tick(form, 7, true);
            selectId = a; // the product on screen: reloaded, changes dropped
            selectName = QStringLiteral("製品A");
            form.chooseProduct();
            QVERIFY(marked(form).isEmpty());
            tick(form, 8, true);
            selectId = -1; // cancelled: stays, unsaved
            form.chooseProduct();
            QCOMPARE(marked(form), QList<int>{8});
            QVERIFY(storedEntries(*db, a).isEmpty());
            selectId = b; // another: the product left is saved first
            selectName = QStringLiteral("製品B");
            form.chooseProduct();
            QCOMPARE(loadedId(form), b);
            QCOMPARE(form.productNameEdit->text(), QStringLiteral("製品B"));
        });
        QCOMPARE(storedEntries(*db, a).front().mid(1, 1), QList<int>{8});
    }

    // A product saved before, opened again in each way the editor offers while another one
    // is on screen, then changed and left: saved, with no word of a change made elsewhere.
    void everyWayOfOpeningKeepsTheStoredRevision_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("一覧") << 0;
        QTest::newRow("name typed") << 1;
        QTest::newRow("入力取り消し") << 2;
    }
    void everyWayOfOpeningKeepsTheStoredRevision()
    {
        QFETCH(int, way);
        const int a = **catalogue::registerProduct(*db, QStringLiteral("製品A"));
        QVERIFY(catalogue::registerProduct(*db, QStringLiteral("製品B")));
        QVERIFY(catalogue::saveProduct(*db, a, {1, 2}, {QStringLiteral("製品A"), {}, {}, 0}));
        QVERIFY(catalogue::saveProduct(*db, a, {1, 2}, {QStringLiteral("製品A"), {}, {}, 0})); // revision 2
        MessageRecorder messages;
        ProductEditor form(actions());
        runEditor(form, *db, way == 2 ? QStringLiteral("製品A") : QStringLiteral("製品B"), [&] {
            if (way == 0) {
                selectId = a;
                selectName = QStringLiteral("製品A");
                form.chooseProduct();
            } else if (way == 1) {
                auto *name = form.productNameEdit;
                name->setText(QStringLiteral("製品A"));
                form.checkProductName();
            } else {
                form.undoChanges();
            }
            QCOMPARE(loadedId(form), a);
            tick(form, 3, true);
        });
        QVERIFY2(messages.texts().isEmpty(), qPrintable(messages.texts().join(QLatin1Char('\n'))));
        QCOMPARE(storedEntries(*db, a).front().mid(1, 3), (QList<int>{1, 2, 3}));
        QCOMPARE(catalogue::allProducts(*db).size(), size_t(2));
    }

    void renameWritesOnlyTheName()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("旧名"));
        MessageRecorder messages;
        ProductEditor form(actions());
        runEditor(form, *db, QStringLiteral("旧名"), [&] {
            tick(form, 2, true);
            registerName = QStringLiteral("新名");
            form.renameProduct();
            QCOMPARE(lastOldName, std::optional<QString>(QStringLiteral("旧名")));
            QCOMPARE(form.productNameEdit->text(), QStringLiteral("新名"));
            QVERIFY(!form.state().nameAwaitsLookup);
            QCOMPARE(catalogue::productById(*db, a)->nameText(), QStringLiteral("新名"));
            QVERIFY(storedEntries(*db, a).isEmpty()); // ticks wait for the next save
            form.undoChanges();
            QVERIFY(marked(form).isEmpty());
            // An empty name box is refused with a message.
            form.setText(form.productNameEdit, QString());
            form.renameProduct();
            QCOMPARE(messages.texts(), QStringList{QStringLiteral("製品名を入力してください。")});
        });
    }

    void printCommandsSaveFirstAndPassKindAndFlag()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("製品A"));
        ProductEditor form(actions());
        runEditor(form, *db, QStringLiteral("製品A"), [&] {
            tick(form, 10, true);
            form.printNormal();
            form.printAdditional2x6();
            form.printAdditional3x7();
            QCOMPARE(storedEntries(*db, a).size(), 1);
            form.singleSubstanceRadio->click();
            form.printNormal();
            form.printModel();
            form.printAdditional2x6();
            form.printAdditional3x7();
            QCOMPARE(catalogue::productById(*db, a)->itemType.value(), 1);
        });
        QCOMPARE(prints, (std::vector<PrintCall>{{a, LabelKind::Normal, false},
                                                 {a, LabelKind::Additional2x6, false},
                                                 {a, LabelKind::Additional3x7, false},
                                                 {a, LabelKind::Normal, true},
                                                 {a, LabelKind::Model, true},
                                                 {a, LabelKind::Additional2x6, true},
                                                 {a, LabelKind::Additional3x7, true}}));

        // With no product: the label commands do nothing; the model label reports the missing
        // product through the printing run, which gets -1.
        prints.clear();
        ProductEditor empty(actions());
        runEditor(empty, *db, QString(), [&] {
            empty.printNormal();
            empty.printAdditional2x6();
            empty.printAdditional3x7();
            empty.singleSubstanceRadio->click();
            empty.printModel();
        });
        QCOMPARE(prints, (std::vector<PrintCall>{{-1, LabelKind::Model, true}}));
    }

    void pendingNameLookupRunsBeforeTheCommand()
    {
        QVERIFY(catalogue::registerProduct(*db, QStringLiteral("製品A")));
        const int b = **catalogue::registerProduct(*db, QStringLiteral("製品B"));
        ProductEditor form(actions());
        runEditor(form, *db, QStringLiteral("製品A"), [&] {
            form.productNameEdit->setText(QStringLiteral("製品B"));
            QVERIFY(form.state().nameAwaitsLookup);
            form.printNormal();
        });
        QCOMPARE(prints, (std::vector<PrintCall>{{b, LabelKind::Normal, false}}));
    }
};

QTEST_MAIN(TestEditorCommands)
#include "tst_editor_commands.moc"
