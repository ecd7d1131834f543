// The yearly update: a newer government list applied to a database's master (corvane-master
// update-from), from a list the test derives from the master itself.
#include "Catalogue.h"
#include "Database.h"
#include "Fixture.h"
#include "GovernmentUpdate.h"
#include "MasterUpdate.h"
#include "ProgramMaster.h"
#include "SubstanceClassification.h"
#include "WorkbookWriter.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

using namespace corvane;

namespace {

const int kMethanol = 12, kEthanol = 13;

std::vector<ghs::HazardClass> columns()
{
    std::vector<ghs::HazardClass> classes;
    for (ghs::HazardClass c : ghs::allHazardClasses())
        if (c != ghs::HazardClass::Lactation)
            classes.push_back(c);
    return classes;
}

QStringList heading()
{
    QStringList row{"CAS RN", "CAS RN (ハイフン抜き)", "物質名称", "GHS分類結果_ID"};
    for (ghs::HazardClass c : columns())
        row << ghs::hazardClassName(c);
    return row;
}

// A row of the list holding the classification given (lactation in the reproductive column).
QStringList listRow(const QString &cas, const QString &name, const std::vector<ghs::ClassEntry> &entries)
{
    QStringList row{cas, QString(cas).remove(QLatin1Char('-')), name, QStringLiteral("m-nite-") + cas};
    for (ghs::HazardClass c : columns()) {
        QStringList items;
        for (const ghs::ClassEntry &e : entries) {
            if (e.hazardClass == ghs::HazardClass::Lactation && c == ghs::HazardClass::ReproductiveToxicity)
                items << QStringLiteral("授乳に対するまたは授乳を介した影響に関する追加区分");
            else if (e.hazardClass == c)
                items << (e.category.at(0).isDigit() ? QStringLiteral("区分") : QString()) + e.category
                             + (e.organs.isEmpty() ? QString()
                                                   : QStringLiteral("（%1）").arg(e.organs.join(QStringLiteral("、"))));
        }
        row << (items.isEmpty() ? QStringLiteral("分類できない") : items.join(QStringLiteral("、")));
    }
    return row;
}

} // namespace

class TestGovernmentUpdate : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(folder.isValid(), qPrintable(folder.error()));
        db = folder.open();
        QVERIFY(db);
        auto loaded = programMaster();
        QVERIFY2(loaded, qPrintable(loaded.errorText()));
        master = std::move(*loaded);
    }

    void refusesAnOlderListOrAnotherFile()
    {
        const QStringList before = rowsOf(*db, QStringLiteral("SELECT ID, Hコード FROM 表示物質 ORDER BY ID"));
        const QString older = write({heading(), listRow("67-56-1", "メタノール", {})}, QDate(2020, 1, 1));
        RunResult result = updateFromGovernment(*db, master, older, {}, true, QDateTime::currentDateTime());
        QVERIFY(!result.outcome.ok());
        QVERIFY2(result.outcome.errorText().contains(QStringLiteral("より古いため"))
                     && result.outcome.errorText().contains(QStringLiteral("何も変えていません")),
                 qPrintable(result.outcome.errorText()));
        const QString other = write({{"製品名", "CAS"}, {"洗浄剤", "67-56-1"}}, QDate(2027, 3, 1));
        result = updateFromGovernment(*db, master, other, {}, true, QDateTime::currentDateTime());
        QVERIFY(!result.outcome.ok());
        QVERIFY2(result.outcome.errorText().contains(QStringLiteral("一覧ではありません")),
                 qPrintable(result.outcome.errorText()));
        QCOMPARE(rowsOf(*db, QStringLiteral("SELECT ID, Hコード FROM 表示物質 ORDER BY ID")), before);
    }

    void appliesANewerList()
    {
        // A product holding methanol, and ethanol made the user's own.
        const int product = **catalogue::registerProduct(*db, QStringLiteral("製品"));
        catalogue::addEntries(*db, product, {kMethanol, kEthanol});
        execOrFail(*db, QStringLiteral("UPDATE 表示物質 SET UserOwned = 1 WHERE ID = %1").arg(kEthanol));
        const QStringList entries =
            rowsOf(*db, QStringLiteral("SELECT * FROM ProductItemEntry WHERE ProductID = %1").arg(product));
        const QStringList ethanol = rowsOf(*db, QStringLiteral("SELECT * FROM 表示物質 WHERE ID = %1").arg(kEthanol));
        const int highest = scalar(*db, QStringLiteral("SELECT MAX(ID) FROM 表示物質")).toInt();

        // Next year's list: methanol classified a carcinogen, ethanol changed, a new substance.
        std::vector<ghs::ClassEntry> methanol = catalogue::classification(*db, kMethanol);
        QVERIFY(!methanol.empty());
        methanol.push_back({ghs::HazardClass::Carcinogenicity, QStringLiteral("2"), {}});
        std::vector<ghs::ClassEntry> ethanolEntries = catalogue::classification(*db, kEthanol);
        ethanolEntries.push_back({ghs::HazardClass::OzoneLayer, QStringLiteral("1"), {}});
        const QString list = write(
            {heading(), listRow("67-56-1", "メタノール", methanol), listRow("64-17-5", "エタノール", ethanolEntries),
             listRow("999-99-5", "試験物質", {{ghs::HazardClass::FlammableLiquids, QStringLiteral("3"), {}}})},
            QDate(2027, 3, 2));

        // Without --apply: what would change, and nothing written.
        RunResult result = updateFromGovernment(*db, master, list, {}, false, QDateTime::currentDateTime());
        QVERIFY2(result.outcome.ok(), qPrintable(result.outcome.errorText()));
        const QString said = result.notices.join(QLatin1Char('\n'));
        QVERIFY2(said.contains(QStringLiteral("追加する物質: 1件")) && said.contains(QStringLiteral("試験物質")),
                 qPrintable(said));
        QVERIFY2(said.contains(QStringLiteral("発がん性: なし → 区分2")), qPrintable(said));
        QVERIFY2(said.contains(QStringLiteral("利用者の物質: 1件")), qPrintable(said));
        QVERIFY2(said.contains(QStringLiteral("一覧になくなった物質")), qPrintable(said));
        QVERIFY(!scalar(*db, QStringLiteral("SELECT Hコード FROM 表示物質 WHERE ID = %1").arg(kMethanol))
                     .toString()
                     .contains(QStringLiteral("H351")));

        // With --apply: in place, numbers kept, the user's row and the product untouched.
        result = updateFromGovernment(*db, master, list, {}, true,
                                      QDateTime::fromString(QStringLiteral("2027-03-05T10:00:00"), Qt::ISODate));
        QVERIFY2(result.outcome.ok(), qPrintable(result.outcome.errorText()));
        QVERIFY(scalar(*db, QStringLiteral("SELECT Hコード FROM 表示物質 WHERE ID = %1").arg(kMethanol))
                    .toString()
                    .contains(QStringLiteral("H351")));
        QCOMPARE(scalar(*db, QStringLiteral("SELECT 出典版 FROM 表示物質 WHERE ID = %1").arg(kMethanol)).toString(),
                 QStringLiteral("2027-03-02"));
        QCOMPARE(
            scalar(*db, QStringLiteral("SELECT count(*) FROM 物質分類 WHERE 物質ID = %1 AND 分類 = 'Carcinogenicity'")
                            .arg(kMethanol))
                .toInt(),
            1);
        QCOMPARE(scalar(*db, QStringLiteral("SELECT 物質名 FROM 表示物質 WHERE ID = %1").arg(highest + 1)).toString(),
                 QStringLiteral("試験物質"));
        QCOMPARE(rowsOf(*db, QStringLiteral("SELECT * FROM 表示物質 WHERE ID = %1").arg(kEthanol)), ethanol);
        QCOMPARE(rowsOf(*db, QStringLiteral("SELECT * FROM ProductItemEntry WHERE ProductID = %1").arg(product)),
                 entries);
        if (!folder.server())
            QVERIFY2(result.notices.join(QLatin1Char('\n')).contains(QStringLiteral("控え")),
                     qPrintable(result.notices.join(QLatin1Char('\n'))));

        // A later program whose master was made from the older list keeps the newer rows, and
        // finds the substance the list added in the row it is in.
        ProgramMaster later = master;
        later.version = QStringLiteral("2099-01-01");
        const RunResult update = updateMaster(*db, later, QDateTime::currentDateTime());
        QVERIFY2(update.outcome.ok(), qPrintable(update.outcome.errorText()));
        QVERIFY2(update.notices.join(QLatin1Char('\n'))
                     .contains(QStringLiteral("より新しい政府の一覧で更新済みの物質: 1件")),
                 qPrintable(update.notices.join(QLatin1Char('\n'))));
        QVERIFY(scalar(*db, QStringLiteral("SELECT Hコード FROM 表示物質 WHERE ID = %1").arg(kMethanol))
                    .toString()
                    .contains(QStringLiteral("H351")));
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 表示物質 WHERE 物質名 = '試験物質'")).toInt(), 1);
    }

private:
    QString write(const std::vector<QStringList> &rows, const QDate &saved)
    {
        const QString path = QDir(folder.path()).filePath(QStringLiteral("list%1.xlsx").arg(++written));
        if (!test::writeWorkbook(path, {{QStringLiteral("NITE統合版GHS分類結果"), rows}},
                                 QDateTime(saved, QTime(9, 0), Qt::UTC)))
            qFatal("cannot write a workbook");
        return path;
    }

    ProgramFolder folder;
    std::unique_ptr<Database> db;
    ProgramMaster master;
    int written = 0;
};

QTEST_MAIN(TestGovernmentUpdate)
#include "tst_governmentupdate.moc"
