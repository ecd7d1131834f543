#include "Catalogue.h"
#include "Database.h"
#include "EditorDriver.h"
#include "Fixture.h"
#include "FocusMoves.h"
#include "ListView.h"
#include "MessageRecorder.h"
#include "MasterUpdate.h"
#include "ProgramMaster.h"
#include "UserMaster.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace corvane;

namespace {

int loadedId(const ProductEditor &form) { return form.state().productId.value_or(-1); }
int count(Database &db, const QString &table) { return scalar(db, "SELECT count(*) FROM " + table).toInt(); }

} // namespace

class TestEditor : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<Database> db;
    int substances = 0;

private slots:
    void init()
    {
        folder = std::make_unique<ProgramFolder>();
        QVERIFY2(folder->isValid(), qPrintable(folder->error()));
        db = folder->open();
        QVERIFY(db);
        substances = scalar(*db, QStringLiteral("SELECT count(*) FROM 表示物質")).toInt();
        QVERIFY(substances >= 50);
    }
    void cleanup()
    {
        db.reset();
        folder.reset();
    }

    void opensWithTheWholeMasterAndNoProduct()
    {
        const int entriesBefore = count(*db, QStringLiteral("ProductItemEntry"));
        ProductEditor form({});
        const QString result = runEditor(form, *db, QString(), [&] {
            QCOMPARE(form.windowTitle(), QStringLiteral("製品情報入力"));
            QVERIFY(!form.state().nameAwaitsLookup);
            QCOMPARE(loadedId(form), -1);
            QCOMPARE(form.substanceList->items().count(), substances);
            QCOMPARE(form.state().ticks.count(), substances);
            QCOMPARE(form.substanceList->items().item(6).text, QStringLiteral("007"));
            QCOMPARE(form.substanceList->items().item(0).subItem, form.state().substance(1).name);
            // The first substance's statements show at once.
            QCOMPARE(form.text(form.hazardsBox), form.state().substance(1).hazards);
            QCOMPARE(form.text(form.precautionsBox), form.state().substance(1).precautions);
            QVERIFY(form.multipleSubstancesRadio->isChecked());
            QVERIFY(!form.printModelButton->isEnabled());
            QCOMPARE(form.printNormalButton->text(), QStringLiteral("通常のラベル\n(取扱上の注意等表記)"));
            QCOMPARE(form.printAdditional2x6Button->text(), QStringLiteral("複数物質追加ラベル\n(2×6物質)"));
            QCOMPARE(form.printAdditional3x7Button->text(), QStringLiteral("複数物質追加ラベル\n(3×7物質)"));
            // Only the selected: none, so an empty list and empty statement boxes.
            form.tickedOnlyBox->setChecked(true);
            QCOMPARE(form.substanceList->items().count(), 0);
            QCOMPARE(form.text(form.hazardsBox), QString());
            QCOMPARE(form.text(form.precautionsBox), QString());
            form.singleSubstanceRadio->click();
            QVERIFY(form.printModelButton->isEnabled());
            QCOMPARE(form.printAdditional2x6Button->text(), QStringLiteral("単一物質追加ラベル\n(1物質12ラベル)"));
            QCOMPARE(form.printAdditional3x7Button->text(), QStringLiteral("単一物質追加ラベル\n(1物質21ラベル)"));
        });
        QCOMPARE(result, QString());
        QCOMPARE(count(*db, QStringLiteral("ProductItemEntry")), entriesBefore);
        QCOMPARE(count(*db, QStringLiteral("製品情報")), 0);
    }

    void savesTicksTwelveToARowInAscendingOrder()
    {
        const int id = **catalogue::registerProduct(*db, QStringLiteral("塗料A"));
        ProductEditor form({});
        const QString result = runEditor(form, *db, QStringLiteral("塗料A"), [&] {
            QCOMPARE(loadedId(form), id);
            for (int s : {40, 2, 7})
                tick(form, s, true);
            form.setText(form.notesBox, QStringLiteral("火気厳禁\r\n直射日光を避ける"));
        });
        QCOMPARE(result, QStringLiteral("塗料A"));
        QCOMPARE(storedEntries(*db, id), (QList<QList<int>>{{1, 2, 7, 40, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));
        auto row = catalogue::productById(*db, id);
        QCOMPARE(row->itemCount.value(), 3);
        QCOMPARE(row->itemType.value(), 0);
        QCOMPARE(row->notesText(), QStringLiteral("火気厳禁\r\n直射日光を避ける"));
        QVERIFY(!row->ingredients); // an empty box is stored as Null

        // 13 and then 24 substances: rows of twelve, numbered from 1.
        ProductEditor again({});
        runEditor(again, *db, QStringLiteral("塗料A"), [&] {
            QCOMPARE(marked(again), (QList<int>{2, 7, 40}));
            QCOMPARE(again.text(again.notesBox), QStringLiteral("火気厳禁\r\n直射日光を避ける"));
            for (int s = 1; s <= 24; ++s)
                tick(again, s, s <= 13);
            again.setText(again.notesBox, QString());
        });
        QCOMPARE(storedEntries(*db, id), (QList<QList<int>>{{1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                                                            {2, 13, 40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));
        QVERIFY(!catalogue::productById(*db, id)->notes);

        ProductEditor third({});
        runEditor(third, *db, QStringLiteral("塗料A"), [&] {
            third.tickAll();
            third.untickAll();
            for (int s = 1; s <= 24; ++s)
                tick(third, s, true);
        });
        const auto rows = storedEntries(*db, id);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1], (QList<int>{2, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}));
        QCOMPARE(catalogue::productById(*db, id)->itemCount.value(), 24);

        // No substance: no rows at all.
        ProductEditor fourth({});
        runEditor(fourth, *db, QStringLiteral("塗料A"), [&] { fourth.untickAll(); });
        QVERIFY(storedEntries(*db, id).isEmpty());
        QCOMPARE(catalogue::productById(*db, id)->itemCount.value(), 0);
    }

    void loadsAnyStoredLayoutSafely()
    {
        SKIP_ON_SERVER(); // text and fractions in number columns exist only in old files
        execOrFail(
            *db, QStringLiteral("INSERT INTO 製品情報 (ID, 製品名, ItemType) VALUES (4, 'odd', NULL), (5, 'five', 5)"));
        execOrFail(*db, QStringLiteral(
                            "INSERT INTO ProductItemEntry (ProductID, BlockNo, ItemID1, ItemID2, ItemID5, ItemID12) "
                            "VALUES (4, 1, 3, 3, 0, 99999), (4, 2, NULL, 'x', 2.5, 9)"));
        ProductEditor form({});
        runEditor(form, *db, QStringLiteral("odd"), [&] {
            QCOMPARE(marked(form), (QList<int>{3, 9}));         // duplicates once; beyond the master not listed
            QVERIFY(form.multipleSubstancesRadio->isChecked()); // Null kind: several substances
        });
        // A number beyond this master is saved back, never dropped.
        QCOMPARE(storedEntries(*db, 4), (QList<QList<int>>{{1, 3, 9, 99999, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));
        QCOMPARE(catalogue::productById(*db, 4)->itemType.value(), 0);

        ProductEditor five({});
        runEditor(five, *db, QStringLiteral("five"), [&] { QVERIFY(five.singleSubstanceRadio->isChecked()); });
        QCOMPARE(catalogue::productById(*db, 5)->itemType.value(), 1);
    }

    // A substance is its number, whatever order the master's rows are stored in: after an
    // import made substance 50 the user's own and a master update rewrote the others (on a
    // server the rows rewritten used to come after it) or with a gap in the numbers, the
    // product shows, saves and so prints the substances it holds.
    void substancesAreKnownByTheirNumbers_data()
    {
        QTest::addColumn<bool>("gap");
        QTest::newRow("an import, then a master update") << false;
        QTest::newRow("a gap in the numbers") << true;
    }
    void substancesAreKnownByTheirNumbers()
    {
        QFETCH(bool, gap);
        const int id = **catalogue::registerProduct(*db, QStringLiteral("溶剤"));
        QVERIFY(catalogue::saveProduct(*db, id, {5, 40}, {QStringLiteral("溶剤"), {}, {}, 0}));
        if (gap) {
            execOrFail(*db, QStringLiteral("DELETE FROM 表示物質 WHERE ID = 2"));
        } else {
            const Result<QString> text = exportMaster(*db);
            QVERIFY(text);
            QStringList lines = text->split(QLatin1Char('\n'));
            for (QString &line : lines)
                if (line.startsWith(QStringLiteral("50\t"))) {
                    QStringList fields = line.split(QLatin1Char('\t'));
                    fields[1] += QStringLiteral("（社内名）");
                    line = fields.join(QLatin1Char('\t'));
                }
            ProgramMaster newer = *programMaster();
            const QDateTime now = QDateTime::currentDateTime();
            const RunResult imported =
                importSubstances(*db, newer, lines.join(QLatin1Char('\n')), QStringLiteral("mine.tsv"), now);
            QVERIFY2(imported.outcome.ok(), qPrintable(imported.outcome.errorText()));
            newer.version = QStringLiteral("2099-01-01");
            const RunResult updated = updateMaster(*db, newer, now.addSecs(1));
            QVERIFY2(updated.outcome.ok(), qPrintable(updated.outcome.errorText()));
        }
        ProductEditor form({});
        runEditor(form, *db, QStringLiteral("溶剤"), [&] {
            form.tickedOnlyBox->setChecked(true); // the ticked substances only
            const ListModel &items = form.substanceList->items();
            QCOMPARE(items.count(), 2);
            for (int position = 0; position < 2; ++position) {
                const int number = items.item(position).tag;
                QCOMPARE(items.item(position).text, QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')));
                QCOMPARE(
                    items.item(position).subItem,
                    scalar(*db, QStringLiteral("SELECT 物質名 FROM 表示物質 WHERE ID = %1").arg(number)).toString());
            }
            QCOMPARE(tickedInList(form), (QList<int>{5, 40}));
            tick(form, 5, false);
            tick(form, 5, true);
        });
        QCOMPARE(storedEntries(*db, id), (QList<QList<int>>{{1, 5, 40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));
    }

    void singleSubstanceModeKeepsOneTick()
    {
        QVERIFY(catalogue::registerProduct(*db, QStringLiteral("p")));
        ProductEditor form({});
        runEditor(form, *db, QStringLiteral("p"), [&] {
            for (int s : {3, 5, 9})
                tick(form, s, true);
            // Sorted by name, the first ticked one in that order stays.
            form.sortList(2);
            const QList<int> order = tickedInList(form);
            form.singleSubstanceRadio->click();
            QCOMPARE(tickedInList(form), QList<int>{order.front()});
            QCOMPARE(marked(form), QList<int>{order.front()});
            // A tick replaces the tick; an untick leaves none.
            tick(form, 20, true);
            QCOMPARE(tickedInList(form), QList<int>{20});
            QCOMPARE(marked(form), QList<int>{20});
            tick(form, 20, false);
            QVERIFY(marked(form).isEmpty());
            // Back to several substances: nothing comes back, any number may be ticked.
            form.multipleSubstancesRadio->click();
            QVERIFY(tickedInList(form).isEmpty());
            tick(form, 1, true);
            tick(form, 2, true);
            QCOMPARE(marked(form), (QList<int>{1, 2}));
        });
    }

    void popupMenuActsOnTheListedItems()
    {
        QVERIFY(catalogue::registerProduct(*db, QStringLiteral("p")));
        ProductEditor form({});
        runEditor(form, *db, QStringLiteral("p"), [&] {
            tick(form, 1, true);
            tick(form, 4, true);
            form.invertTicks();
            QCOMPARE(marked(form).size(), substances - 2);
            form.invertTicks();
            QCOMPARE(marked(form), (QList<int>{1, 4}));

            // On the filtered list the unlisted substances keep their marks.
            form.tickedOnlyBox->setChecked(true);
            QCOMPARE(form.substanceList->items().count(), 2);
            tick(form, 4, false);
            QCOMPARE(form.substanceList->items().count(), 2); // unticked stays until refilled
            form.invertTicks();
            QCOMPARE(marked(form), QList<int>{4});
            form.untickAll();
            QVERIFY(marked(form).isEmpty());

            // The menu shows only in several-substance mode and on a non-empty list.
            form.tickedOnlyBox->setChecked(false);
            form.showTickMenu(Qt::RightButton, QPoint(10, 10));
            QVERIFY(form.tickMenu->isVisible());
            form.tickMenu->hide();
            form.showTickMenu(Qt::LeftButton, QPoint(10, 10));
            QVERIFY(!form.tickMenu->isVisible());
            form.singleSubstanceRadio->click();
            form.showTickMenu(Qt::RightButton, QPoint(10, 10));
            QVERIFY(!form.tickMenu->isVisible());
            form.multipleSubstancesRadio->click();
            form.tickedOnlyBox->setChecked(true); // nothing selected: empty list
            form.showTickMenu(Qt::RightButton, QPoint(10, 10));
            QVERIFY(!form.tickMenu->isVisible());
        });
    }

    void clickShowsStatementsAndSortingAlternates()
    {
        ProductEditor form({});
        runEditor(form, *db, QString(), [&] {
            form.showSubstance(4);
            const int row = form.substanceList->items().item(4).tag;
            QCOMPARE(form.text(form.hazardsBox), form.state().substance(row).hazards);
            QCOMPARE(form.text(form.precautionsBox), form.state().substance(row).precautions);
            QVERIFY(tickedInList(form).isEmpty()); // a click does not tick

            form.sortList(1);
            QCOMPARE(form.substanceList->items().item(0).tag, 1); // ascending first
            form.sortList(1);
            QCOMPARE(form.substanceList->items().item(0).tag, substances);
            form.sortList(1);
            QCOMPARE(form.substanceList->items().item(0).tag, 1);
        });
    }

    void twoProgramsOnOneProductLoseNothing_data()
    {
        QTest::addColumn<int>("otherSaves"); // what the second program does meanwhile: 1 save, 2 delete
        QTest::addColumn<bool>("editedHere");
        QTest::addColumn<int>("answer");        // 1 OK (reload), 0 Cancel (keep this as a copy)
        QTest::addColumn<QList<int>>("stored"); // the product's entries afterwards (first row)
        QTest::addColumn<bool>("copied");
        QTest::newRow("closed unchanged: the other's ticks stay") << 1 << false << -1 << QList<int>{1, 5, 6} << false;
        QTest::newRow("both changed, reload") << 1 << true << 1 << QList<int>{1, 5, 6} << false;
        QTest::newRow("both changed, keep a copy") << 1 << true << 0 << QList<int>{1, 5, 6} << true;
        QTest::newRow("deleted there, keep a copy") << 2 << true << 0 << QList<int>{} << true;
    }
    void twoProgramsOnOneProductLoseNothing()
    {
        QFETCH(int, otherSaves);
        QFETCH(bool, editedHere);
        QFETCH(int, answer);
        QFETCH(QList<int>, stored);
        QFETCH(bool, copied);
        const int a = **catalogue::registerProduct(*db, QStringLiteral("製品A"));
        QVERIFY(catalogue::saveProduct(*db, a, {1}, {QStringLiteral("製品A"), {}, {}, 0}));
        MessageRecorder messages;
        if (answer >= 0)
            messages.answerNext(answer == 1 ? MsgResult::Ok : MsgResult::Cancel);
        ProductEditor form({});
        runEditor(form, *db, QStringLiteral("製品A"), [&] {
            if (editedHere) {
                tick(form, 2, true);
                tick(form, 3, true);
            }
            // The second program, on its own connection, loaded the same revision.
            QString error;
            auto other = openAnother(*db, &error);
            QVERIFY2(other, qPrintable(error));
            const int revision = catalogue::productWithEntries(*other, a)->product.revision;
            if (otherSaves == 1)
                QCOMPARE(catalogue::saveProduct(*other, a, {1, 5, 6}, {QStringLiteral("製品A"), {}, {}, 0}, revision)
                             ->outcome,
                         catalogue::SaveResult::Saved);
            else
                QVERIFY(catalogue::deleteProductWithEntries(*other, a));
        });
        QCOMPARE(messages.messages().size(), answer >= 0 ? 1 : 0);
        const QList<QList<int>> rows = storedEntries(*db, a);
        QCOMPARE(rows.isEmpty() ? QList<int>{} : rows.front().mid(1, stored.size()), stored);
        const auto copy = catalogue::productIdByName(*db, QStringLiteral("製品A（コピー）"));
        QCOMPARE(copy.has_value(), copied);
        if (copy)
            QCOMPARE(storedEntries(*db, *copy).front().mid(1, 3), (QList<int>{1, 2, 3}));
    }

    void searchFiltersTheListAndKeepsHiddenTicks()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("製品A"));
        ProductEditor form({});
        runEditor(form, *db, QStringLiteral("製品A"), [&] {
            const SubstanceRecord &wanted = form.state().substance(9);
            QVERIFY(wanted.cas.contains(QLatin1Char('-')));
            const auto listed = [&] {
                QList<int> tags;
                for (int position = 0; position < form.substanceList->items().count(); ++position)
                    tags << form.substanceList->items().item(position).tag;
                return tags;
            };
            tick(form, 2, true);

            // By name, CAS RN with and without hyphens (full-width too) and number.
            QString fullWidthCas;
            for (QChar c : wanted.cas)
                fullWidthCas += c.isDigit() ? QChar(0xFF10 + c.digitValue()) : QChar(0xFF0D);
            for (const QString &typed : {wanted.name, wanted.cas, QString(wanted.cas).remove(QLatin1Char('-')),
                                         fullWidthCas, QStringLiteral("9")}) {
                form.searchBox->setText(typed);
                QVERIFY2(listed().contains(9), qPrintable(typed));
                QVERIFY2(!listed().contains(2) || form.state().substance(2).name.contains(typed), qPrintable(typed));
            }
            form.searchBox->setText(wanted.name);
            tick(form, 9, true);
            // Space ticks the current substance like a click.
            form.substanceList->setFocus();
            form.substanceList->setCurrentIndex(form.substanceList->items().index(0, 0));
            const int first = form.substanceList->items().item(0).tag;
            QTest::keyClick(form.substanceList, Qt::Key_Space);
            QCOMPARE(marked(form).contains(first), first != 9);
            if (first != 9)
                QTest::keyClick(form.substanceList, Qt::Key_Space);

            // The pop-up menu acts on the listed substances only; hidden ticks stay.
            form.untickAll();
            QCOMPARE(marked(form), QList<int>{2});
            tick(form, 9, true);
            form.tickedOnlyBox->setChecked(true);
            QCOMPARE(listed(), QList<int>{9});
            form.searchBox->clear();
            QCOMPARE(listed(), (QList<int>{2, 9}));

            // A search that finds nothing says so over the empty list.
            QVERIFY(form.noMatch->isHidden());
            form.searchBox->setText(QStringLiteral("該当しない名前"));
            QVERIFY(listed().isEmpty());
            QVERIFY(!form.noMatch->isHidden());
            form.searchBox->clear();
            QVERIFY(form.noMatch->isHidden());
            // The CAS RN column shows a ten-digit number whole.
            QVERIFY(form.substanceList->columnWidth(2)
                    > form.substanceList->fontMetrics().horizontalAdvance(QStringLiteral("1234567-89-0")));
        });
        QCOMPARE(storedEntries(*db, a), (QList<QList<int>>{{1, 2, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));
    }

    void typedNameLooksUpAndLeavesTheProductUnderItsOwnName()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("製品A"));
        const int b = **catalogue::registerProduct(*db, QStringLiteral("製品B"));
        catalogue::addEntries(*db, b, {11});
        ProductEditor form({});
        runEditor(form, *db, QStringLiteral("製品A"), [&] {
            form.show();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            auto *name = form.productNameEdit;
            tick(form, 5, true);
            name->setFocus();
            name->setText(QStringLiteral("製品B"));
            QTest::keyClick(name, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), form.listButton);
            QCOMPARE(loadedId(form), b);
            QCOMPARE(marked(form), QList<int>{11});
            QVERIFY(!form.state().nameAwaitsLookup);

            // An unknown name empties the editor (the box too) after saving B under its name,
            // and says why, as the main menu does.
            tick(form, 12, true);
            name->setFocus();
            name->setText(QStringLiteral("ない製品"));
            MessageRecorder messages;
            QTest::keyClick(name, Qt::Key_Tab);
            QCOMPARE(messages.texts(), QStringList{QStringLiteral("製品名：ない製品は登録されていません。")});
            QCOMPARE(loadedId(form), -1);
            QCOMPARE(form.productNameEdit->text(), QString());
            QVERIFY(marked(form).isEmpty());

            // Leaving an unchanged box loads nothing.
            name->setFocus();
            QTest::keyClick(name, Qt::Key_Tab);
            QCOMPARE(loadedId(form), -1);
        });
        QCOMPARE(catalogue::productById(*db, a)->nameText(), QStringLiteral("製品A"));
        QCOMPARE(catalogue::productById(*db, b)->nameText(), QStringLiteral("製品B"));
        QCOMPARE(storedEntries(*db, a).front().mid(1, 1), QList<int>{5});
        QCOMPARE(storedEntries(*db, b).front().mid(1, 2), (QList<int>{11, 12}));
        QCOMPARE(count(*db, QStringLiteral("製品情報")), 2);
    }

    void emptiedNameBoxSavesAndEmpties()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("製品A"));
        ProductEditor form({});
        const QString result = runEditor(form, *db, QStringLiteral("製品A"), [&] {
            tick(form, 8, true);
            form.setText(form.productNameEdit, QString());
            form.checkProductName();
            QCOMPARE(loadedId(form), -1);
        });
        QCOMPARE(result, QString());
        QCOMPARE(catalogue::productById(*db, a)->nameText(), QStringLiteral("製品A"));
        QCOMPARE(storedEntries(*db, a).size(), 1);
    }

    void closingWithATypedNameLooksItUpFirst()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("製品A"));
        QVERIFY(catalogue::registerProduct(*db, QStringLiteral("製品B")));
        ProductEditor form({});
        const QString result = runEditor(form, *db, QStringLiteral("製品A"), [&] {
            form.productNameEdit->setText(QStringLiteral("製品B"));
            form.close();
        });
        QCOMPARE(result, QStringLiteral("製品B"));
        QCOMPARE(catalogue::productById(*db, a)->nameText(), QStringLiteral("製品A"));
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 製品情報 WHERE 製品名 = '製品B'")).toInt(), 1);
    }

    void aFailedSaveChangesNothingStoredAndKeepsTheScreen()
    {
        const int a = **catalogue::registerProduct(*db, QStringLiteral("製品A"));
        QVERIFY(catalogue::registerProduct(*db, QStringLiteral("製品B")));
        catalogue::addEntries(*db, a, {1, 2, 3});
        MessageRecorder messages;
        ProductEditor form({});
        runEditor(form, *db, QStringLiteral("製品A"), [&] {
            tick(form, 9, true);
            // The product row's update fails after the entries were rewritten.
            failEveryChange(*db, QStringLiteral("製品情報"), QStringLiteral("UPDATE"));
            form.setText(form.productNameEdit, QStringLiteral("製品B"));
            form.checkProductName();
            QCOMPARE(messages.messages().size(), 1);
            QVERIFY(messages.texts().front().startsWith(QStringLiteral("データベースのエラーです。")));
            QVERIFY(messages.texts().front().contains(QStringLiteral("injected failure")));
            QCOMPARE(loadedId(form), a);
            QCOMPARE(form.productNameEdit->text(), QStringLiteral("製品A"));
            QCOMPARE(marked(form), (QList<int>{1, 2, 3, 9}));
            stopFailing(*db, QStringLiteral("製品情報"));
        });
        QCOMPARE(storedEntries(*db, a).front().mid(1, 4), (QList<int>{1, 2, 3, 9}));
    }

    void aMouseClickOnTheCheckBoxTicksLikeTheUser()
    {
        QVERIFY(catalogue::registerProduct(*db, QStringLiteral("p")));
        ProductEditor form({});
        runEditor(form, *db, QStringLiteral("p"), [&] {
            form.show();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            form.singleSubstanceRadio->click();
            ListView *list = form.substanceList;
            const auto clickBox = [&](int position) {
                const QRect cell = list->visualRect(list->items().index(position, 0));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  QPoint(cell.left() + cell.height() / 2, cell.center().y()));
            };
            clickBox(1);
            QCOMPARE(marked(form), QList<int>{2});
            clickBox(3); // single-substance mode: the new tick replaces the old one
            QCOMPARE(marked(form), QList<int>{4});
            QCOMPARE(tickedInList(form), QList<int>{4});
        });
    }

    void enterMovesOnOnlyInSingleLineBoxes()
    {
        ProductEditor form({});
        runEditor(form, *db, QString(), [&] {
            form.show();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            auto *notes = form.notesBox;
            notes->setFocus();
            QTest::keyClicks(notes, "ab");
            QTest::keyClick(notes, Qt::Key_Return);
            QTest::keyClicks(notes, "c");
            QCOMPARE(form.text(form.notesBox), QStringLiteral("ab\r\nc"));
            QCOMPARE(QApplication::focusWidget(), notes);
            QTest::keyClick(notes, Qt::Key_Comma, Qt::KeypadModifier);
            QCOMPARE(QApplication::focusWidget(), form.ingredientsBox);
            QVERIFY(!form.state().nameAwaitsLookup); // typing in another box leaves no name to look up
        });
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
