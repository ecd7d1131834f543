#include "Database.h"
#include "DialogDriver.h"
#include "Fixture.h"
#include "ListView.h"
#include "MessageRecorder.h"
#include "ProductSelectDialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTest>

using namespace corvane;

namespace {

QStringList names(const ListView &list)
{
    QStringList result;
    for (int i = 0; i < list.items().count(); ++i)
        result << list.items().item(i).subItem;
    return result;
}

QPoint rowCentre(ListView &list, int row) { return list.visualRect(list.items().index(row, 1)).center(); }

void clickRow(ListView &list, int row) { QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowCentre(list, row)); }

void clickNameHeading(ListView &list)
{
    QHeaderView *header = list.header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
}

std::unique_ptr<Database> openWithProducts(const ProgramFolder &folder, const QString &values)
{
    auto db = folder.open();
    if (db && !values.isEmpty())
        execOrFail(*db, QStringLiteral("INSERT INTO 製品情報 (ID, 製品名) VALUES ") + values);
    return db;
}

} // namespace

class TestProductSelectDialog : public QObject {
    Q_OBJECT

    ProductSelectDialog dialog;
    QString name;

    // Opens the dialog, runs steps in it and gives what choose returned.
    template <class Steps>
    int run(Database &db, Steps steps)
    {
        onNextModal(dialog, steps);
        return dialog.choose(db, name);
    }

private slots:
    void choosingReturnsTheIdAndCopiesTheName()
    {
        ProgramFolder folder;
        auto db = openWithProducts(folder, QStringLiteral("(5, 'ベンゼン溶液'), (12, 'Acetone'), (30, 'Say \"hi\"')"));
        QVERIFY(db);
        // The list opens in name order with the first product selected, so Enter right away
        // takes it.
        QCOMPARE(run(*db,
                     [&] {
                         QCOMPARE(dialog.windowTitle(), QStringLiteral("製品名選択"));
                         QCOMPARE(dialog.productList->selectedItem(), 0);
                         QCOMPARE(dialog.productList->items().dropHighlight(), 0);
                         QCOMPARE(QApplication::focusWidget(), dialog.productList);
                         QTest::keyClick(dialog.productList, Qt::Key_Return);
                     }),
                 12);
        QCOMPARE(name, QStringLiteral("Acetone"));

        QCOMPARE(run(*db,
                     [&] {
                         clickRow(*dialog.productList, 1);
                         QCOMPARE(dialog.productList->items().dropHighlight(), 1);
                         dialog.okButton->click();
                     }),
                 30);
        QCOMPARE(name, QStringLiteral("Say \"hi\""));

        QCOMPARE(run(*db,
                     [&] {
                         QTest::mouseDClick(dialog.productList->viewport(), Qt::LeftButton, {},
                                            rowCentre(*dialog.productList, 2));
                     }),
                 5);
        QCOMPARE(name, QStringLiteral("ベンゼン溶液"));
    }

    void cancelEscapeAndCloseBoxLeaveTheNameAlone()
    {
        ProgramFolder folder;
        auto db = openWithProducts(folder, QStringLiteral("(5, '五'), (6, '六')"));
        QVERIFY(db);
        name = QStringLiteral("そのまま");
        QCOMPARE(run(*db,
                     [&] {
                         clickRow(*dialog.productList, 1);
                         dialog.cancelButton->click();
                     }),
                 -1);
        QCOMPARE(run(*db, [&] { QTest::keyClick(dialog.productList, Qt::Key_Escape); }), -1);
        QCOMPARE(name, QStringLiteral("そのまま"));

        // After a choice, closing from the title bar must not hand that choice back again.
        QCOMPARE(run(*db, [&] { dialog.okButton->click(); }), 5);
        name = QStringLiteral("そのまま");
        QCOMPARE(run(*db, [&] { dialog.close(); }), -1);
        QCOMPARE(name, QStringLiteral("そのまま"));
    }

    void idsAreListedWithAtLeastThreeDigits()
    {
        ProgramFolder folder;
        auto db = openWithProducts(folder, QStringLiteral("(1234, '千二百'), (7, '七'), (1000, '千'), (42, '四十二')"));
        QVERIFY(db);
        QCOMPARE(run(*db,
                     [&] {
                         const ListModel &items = dialog.productList->items();
                         QStringList ids;
                         for (int i = 0; i < items.count(); ++i)
                             ids << items.item(i).text;
                         // In name order: kanji as ICU's Japanese collation has them (四 before 七 before 千).
                         QCOMPARE(ids, (QStringList{"042", "007", "1000", "1234"}));
                         QCOMPARE(names(*dialog.productList), (QStringList{"四十二", "七", "千", "千二百"}));
                         QVERIFY(!dialog.productList->isColumnHidden(0)); // the ID corvane-print --product takes
                         clickRow(*dialog.productList, 2);
                         dialog.okButton->click();
                     }),
                 1000);
        QCOMPARE(name, QStringLiteral("千"));
        QCOMPARE(run(*db, [&] { dialog.okButton->click(); }), 42);
    }

    void opensInNameOrderAndHeadingClicksTurnItRound()
    {
        ProgramFolder folder;
        auto db = openWithProducts(folder, QStringLiteral("(1, 'りんご'), (2, 'Banana'), (3, 'apple'), (4, 'cherry')"));
        QVERIFY(db);
        const QStringList ascending{"apple", "Banana", "cherry", "りんご"};
        const QStringList descending{"りんご", "cherry", "Banana", "apple"};
        QCOMPARE(run(*db,
                     [&] {
                         ListView &list = *dialog.productList;
                         QCOMPARE(names(list), ascending);
                         QVERIFY(list.header()->isSortIndicatorShown());
                         QCOMPARE(list.header()->sortIndicatorOrder(), Qt::AscendingOrder);
                         clickRow(list, 1); // Banana
                         clickNameHeading(list);
                         QCOMPARE(names(list), descending);
                         QCOMPARE(list.header()->sortIndicatorOrder(), Qt::DescendingOrder);
                         clickNameHeading(list);
                         QCOMPARE(names(list), ascending);
                         clickNameHeading(list);
                         QCOMPARE(names(list), descending);
                         QCOMPARE(list.selectedItem(), 2);
                         QCOMPARE(list.items().dropHighlight(), 2);
                         dialog.okButton->click();
                     }),
                 2);
        QCOMPARE(name, QStringLiteral("Banana"));

        // The next opening is in name order again.
        QCOMPARE(run(*db,
                     [&] {
                         QCOMPARE(names(*dialog.productList), ascending);
                         dialog.cancelButton->click();
                     }),
                 -1);
    }

    void keysMoveTheChoice_data()
    {
        QTest::addColumn<QString>("keys"); // "Down", "End", ... or letters typed
        QTest::addColumn<int>("chosen");
        // Listed by name: apple, Banana, cherry, りんご.
        QTest::newRow("Down") << "Down" << 2;
        QTest::newRow("Down Down Up") << "Down Down Up" << 2;
        QTest::newRow("End") << "End" << 1;
        QTest::newRow("End Home") << "End Home" << 3;
        QTest::newRow("PageDown") << "PageDown" << 1;
        QTest::newRow("PageDown PageUp") << "PageDown PageUp" << 3;
        QTest::newRow("typing c") << "c" << 4;
        QTest::newRow("typing ba") << "ba" << 2;
    }
    // Arrow keys, Home/End, PageUp/PageDown and typed letters move the choice; Enter takes the
    // row that is marked.
    void keysMoveTheChoice()
    {
        QFETCH(QString, keys);
        QFETCH(int, chosen);
        ProgramFolder folder;
        auto db = openWithProducts(folder, QStringLiteral("(1, 'りんご'), (2, 'Banana'), (3, 'apple'), (4, 'cherry')"));
        QVERIFY(db);
        MessageRecorder messages; // "製品名を選択してください。" would be a fault here
        const QHash<QString, Qt::Key> named{{"Down", Qt::Key_Down},         {"Up", Qt::Key_Up},
                                            {"End", Qt::Key_End},           {"Home", Qt::Key_Home},
                                            {"PageDown", Qt::Key_PageDown}, {"PageUp", Qt::Key_PageUp}};
        const int returned = run(*db, [&] {
            for (const QString &key : keys.split(u' '))
                if (named.contains(key))
                    QTest::keyClick(dialog.productList, named.value(key));
                else
                    QTest::keyClicks(dialog.productList, key);
            QTest::keyClick(dialog.productList, Qt::Key_Return);
            if (dialog.isVisible())
                dialog.cancelButton->click();
        });
        QCOMPARE(returned, chosen);
        QCOMPARE(messages.texts(), QStringList());
    }

    void okWithNothingToChooseShowsAMessageAndStaysOpen()
    {
        ProgramFolder folder;
        auto db = openWithProducts(folder, QString());
        QVERIFY(db);
        MessageRecorder messages;
        QCOMPARE(run(*db,
                     [&] {
                         QTest::keyClick(dialog.productList, Qt::Key_Return);
                         QCOMPARE(messages.texts(), QStringList{QStringLiteral("製品名を選択してください。")});
                         QVERIFY(messages.messages().front().icon == MsgIcon::Exclamation);
                         QVERIFY(dialog.isVisible());
                         dialog.cancelButton->click();
                     }),
                 -1);
    }

    void anUnreadableCatalogueIsReportedWithoutOpening()
    {
        ProgramFolder folder;
        auto db = openWithProducts(folder, QString());
        QVERIFY(db);
        execOrFail(*db, QStringLiteral("DROP TABLE 製品情報"));
        MessageRecorder messages;
        ProductSelectDialog fresh;
        onNextModal(fresh, [] { QFAIL("the dialog opened without a list"); });
        name = QStringLiteral("そのまま");
        QCOMPARE(fresh.choose(*db, name), -1);
        QCOMPARE(name, QStringLiteral("そのまま"));
        QCOMPARE(messages.messages().size(), 1);
        QVERIFY(messages.texts().front().startsWith(QStringLiteral("データベースのエラーです。")));
    }
};

QTEST_MAIN(TestProductSelectDialog)
#include "tst_productselectdialog.moc"
