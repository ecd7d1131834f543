#include "ListModel.h"
#include "Module1.h"

#include <QSignalSpy>
#include <QTest>

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

private slots:
    void sortByColumnAlternatesPerColumn()
    {
        ListModel model;
        model.addColumn(QString(), 0);
        model.addColumn(QStringLiteral("製品名"), 300);
        model.addItem({QStringLiteral("002"), QStringLiteral("b"), false, 2});
        model.addItem({QStringLiteral("001"), QStringLiteral("C"), false, 1});
        model.addItem({QStringLiteral("003"), QStringLiteral("a"), false, 3});
        QCOMPARE(names(model), (QStringList{"b", "C", "a"})); // unsorted until a click

        SortByColumn(model, model.column(2));
        QCOMPARE(names(model), (QStringList{"C", "b", "a"}));
        QCOMPARE(model.column(2).Tag.toInt(), 1);
        SortByColumn(model, model.column(2));
        QCOMPARE(names(model), (QStringList{"a", "b", "C"}));
        SortByColumn(model, model.column(2));
        QCOMPARE(names(model), (QStringList{"C", "b", "a"}));

        // Another column starts its own alternation, descending first.
        SortByColumn(model, model.column(1));
        QCOMPARE(model.item(0).text, QStringLiteral("003"));
        QCOMPARE(model.SortKey(), 0);
        SortByColumn(model, model.column(1));
        QCOMPARE(model.item(0).text, QStringLiteral("001"));

        // While sorted, added items take their place in the order.
        model.addItem({QStringLiteral("000"), QStringLiteral("z"), false, 0});
        QCOMPARE(model.item(0).text, QStringLiteral("000"));
    }

    void tagSetToTextZeroCountsAsNeverSorted()
    {
        ListModel model;
        model.addColumn(QString(), 0);
        model.addItem({QStringLiteral("1"), QString(), false, 1});
        model.addItem({QStringLiteral("2"), QString(), false, 2});
        model.column(1).Tag = QStringLiteral("0");
        SortByColumn(model, model.column(1));
        QCOMPARE(model.SortOrder(), 1);
        QCOMPARE(model.item(0).text, QStringLiteral("2"));
    }

    void ticksByCodeRaiseNoUserSignal()
    {
        ListModel model;
        model.setCheckable(true);
        model.addColumn(QString(), 20);
        model.setItems({{QStringLiteral("001"), QStringLiteral("x"), false, 1},
                        {QStringLiteral("002"), QStringLiteral("y"), true, 2}});
        QSignalSpy user(&model, &ListModel::userChecked);
        model.setChecked(0, true);
        model.setAllChecked({false, false});
        QCOMPARE(user.count(), 0);
        QVERIFY(!model.item(0).checked && !model.item(1).checked);
        // The view's own tick (setData) is the user's.
        QVERIFY(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(user.count(), 1);
        QCOMPARE(user.at(0).at(0).toInt(), 1);
        QVERIFY(model.item(1).checked);
    }
};

QTEST_GUILESS_MAIN(TestListModel)
#include "tst_listmodel.moc"
