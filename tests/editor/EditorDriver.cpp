#include "EditorDriver.h"
#include "Database.h"
#include "ListView.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

namespace corvane {

QString runEditor(ProductEditor &form, Database &db, const QString &name, const std::function<void()> &whileOpen)
{
    // Every change the editor makes to its list is checked against the model rules.
    QAbstractItemModelTester tester(&form.substanceList->items(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QTimer::singleShot(0, &form, [&] {
        whileOpen();
        if (form.isVisible())
            form.backButton->click();
    });
    return form.edit(db, name);
}

void tick(ProductEditor &form, int substance, bool on)
{
    ListModel &items = form.substanceList->items();
    for (int position = 0; position < items.count(); ++position) {
        if (items.item(position).tag == substance) {
            QVERIFY(items.setData(items.index(position, 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole));
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("substance %1 is not listed").arg(substance)));
}

void typeContent(ProductEditor &form, int substance, const QString &typed)
{
    for (int row = 0; row < form.contentsTable->rowCount(); ++row) {
        QTableWidgetItem *cell = form.contentsTable->item(row, 2);
        if (!cell || cell->data(Qt::UserRole).toInt() != substance)
            continue;
        form.contentsTable->openPersistentEditor(cell);
        QLineEdit *editor = nullptr; // the open one: an editor closed before waits hidden for its deletion
        for (QLineEdit *line : form.contentsTable->viewport()->findChildren<QLineEdit *>())
            if (line->isVisible())
                editor = line;
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        for (const QChar ch : typed) // full-width characters too, as an input method delivers them
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        form.contentsTable->closePersistentEditor(cell);
        return;
    }
    QFAIL(qPrintable(QStringLiteral("substance %1 has no content cell").arg(substance)));
}

QList<int> tickedInList(const ProductEditor &form)
{
    QList<int> result;
    const ListModel &items = form.substanceList->items();
    for (int position = 0; position < items.count(); ++position)
        if (items.data(items.index(position, 0), Qt::CheckStateRole) == Qt::Checked)
            result << items.item(position).tag;
    return result;
}

QList<int> marked(const ProductEditor &form)
{
    const std::vector<int> ticked = form.state().ticks.ticked();
    return QList<int>(ticked.begin(), ticked.end());
}

QList<QList<int>> storedEntries(Database &db, int productId)
{
    QSqlQuery query(db.sql());
    query.prepare(QStringLiteral("SELECT BlockNo, ItemID1, ItemID2, ItemID3, ItemID4, ItemID5, ItemID6, ItemID7, "
                                 "ItemID8, ItemID9, ItemID10, ItemID11, ItemID12 FROM ProductItemEntry "
                                 "WHERE ProductID = ? ORDER BY BlockNo"));
    query.addBindValue(productId);
    query.exec();
    QList<QList<int>> rows;
    while (query.next()) {
        QList<int> row;
        for (int column = 0; column < 13; ++column)
            row << query.value(column).toInt();
        rows << row;
    }
    return rows;
}

} // namespace corvane
