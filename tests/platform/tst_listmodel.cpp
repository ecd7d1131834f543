#include "ListModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <set>

using namespace corvane;

class TestListModel : public QObject {
    Q_OBJECT
    static QStringList names(const ListModel &model)
    {
        QStringList result;
        for (int i = 0; i < model.count(); ++i)
            result << model.item(i).subItem;
        return result;
    }
    static ListItem item(const char *number, const char *name, int tag)
    {
        ListItem result;
        result.text = QString::fromUtf8(number);
        result.subItem = QString::fromUtf8(name);
        result.tag = tag;
        return result;
    }

private slots:
    void sortByColumnAscendsFirstThenTurnsRound()
    {
        ListModel model;
        model.addColumn(QString(), 0);
        model.addColumn(QStringLiteral("製品名"), 300);
        model.addItem(item("002", "b", 2));
        model.addItem(item("001", "C", 1));
        model.addItem(item("003", "a", 3));
        QCOMPARE(names(model), (QStringList{"b", "C", "a"})); // unsorted until a click

        sortByClickedColumn(model, model.column(2));
        QCOMPARE(names(model), (QStringList{"a", "b", "C"}));
        QCOMPARE(model.column(2).Tag.toInt(), 0);
        sortByClickedColumn(model, model.column(2));
        QCOMPARE(names(model), (QStringList{"C", "b", "a"}));
        sortByClickedColumn(model, model.column(2));
        QCOMPARE(names(model), (QStringList{"a", "b", "C"}));

        // Another column sorts ascending first, whatever order the list was in.
        sortByClickedColumn(model, model.column(1));
        QCOMPARE(model.item(0).text, QStringLiteral("001"));
        QCOMPARE(model.SortKey(), 0);
        sortByClickedColumn(model, model.column(1));
        QCOMPARE(model.item(0).text, QStringLiteral("003"));

        // While sorted, added items take their place in the order.
        model.addItem(item("004", "z", 0));
        QCOMPARE(model.item(0).text, QStringLiteral("004"));
    }

    void namesSortInJapaneseOrder()
    {
        ListModel model;
        model.addColumn(QString(), 0);
        model.addColumn(QStringLiteral("物質名"), 300);
        for (const char *name : {"いか", "アジ", "あさり", "酢酸", "Ｂ10", "b9"})
            model.addItem(item("", name, 0));
        sortByClickedColumn(model, model.column(2));
        // Hiragana and katakana interleave by reading; kanji come after kana; full-width and
        // half-width letters are alike, and numbers compare by value.
        QCOMPARE(names(model), (QStringList{"b9", "Ｂ10", "あさり", "アジ", "いか", "酢酸"}));
    }

    void ticksLiveInTheOwnersMarksAndOnlyTheUsersRaiseTheSignal()
    {
        struct Marks : CheckMarks {
            std::set<int> ticked;
            bool isChecked(int tag) const override { return ticked.count(tag) > 0; }
            void setChecked(int tag, bool on) override { on ? void(ticked.insert(tag)) : void(ticked.erase(tag)); }
        } marks;
        ListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setCheckMarks(&marks);
        model.addColumn(QString(), 20);
        model.addColumn(QString(), 20);
        model.setItems({item("001", "x", 7), item("002", "y", 3)});
        QSignalSpy user(&model, &ListModel::userChecked);
        QSignalSpy shown(&model, &ListModel::dataChanged);
        marks.ticked = {7};
        model.checkMarksChanged();
        QCOMPARE(user.count(), 0);
        QCOMPARE(shown.count(), 1);
        QVERIFY(model.isChecked(0) && !model.isChecked(1));
        // The view's own tick (setData) is the user's, and lands in the owner's marks by tag.
        QVERIFY(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(user.count(), 1);
        QCOMPARE(user.at(0).at(0).toInt(), 1);
        QCOMPARE(marks.ticked, (std::set<int>{3, 7}));
        sortByClickedColumn(model, model.column(2));
        sortByClickedColumn(model, model.column(2)); // descending
        QCOMPARE(model.data(model.index(0, 0), Qt::CheckStateRole), QVariant(Qt::Checked));
        QCOMPARE(model.item(0).tag, 3);
    }
};

QTEST_GUILESS_MAIN(TestListModel)
#include "tst_listmodel.moc"
