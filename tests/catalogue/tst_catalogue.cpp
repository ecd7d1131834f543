#include "Catalogue.h"
#include "Database.h"
#include "Fixture.h"
#include "Records.h"

#include <QTest>

using namespace corvane;

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    // Whole numbers read from columns that may hold anything: Null, text, fractions, values
    // beyond int.
    void wholeNumber_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("expected"); // -999: no number
        QTest::newRow("text 12") << QVariant(QStringLiteral("12")) << 12;
        QTest::newRow("empty text") << QVariant(QString()) << -999;
        QTest::newRow("null") << QVariant() << -999;
        QTest::newRow("letters") << QVariant(QStringLiteral("abc")) << -999;
        QTest::newRow("negative") << QVariant(QStringLiteral("-1")) << -1;
        QTest::newRow("blanks around") << QVariant(QStringLiteral(" 5 ")) << 5;
        QTest::newRow("fraction") << QVariant(QStringLiteral("2.5")) << -999;
        QTest::newRow("whole double") << QVariant(12.0) << 12;
        QTest::newRow("integer") << QVariant(7) << 7;
        QTest::newRow("zero") << QVariant(0) << 0;
        QTest::newRow("not finite") << QVariant(QStringLiteral("inf")) << -999;
        QTest::newRow("beyond int") << QVariant(QStringLiteral("3000000000")) << -999;
    }
    void wholeNumber()
    {
        QFETCH(QVariant, value);
        QFETCH(int, expected);
        QCOMPARE(corvane::wholeNumber(value).value_or(-999), expected);
    }

    void productIdByName()
    {
        ProgramFolder folder;
        QVERIFY2(folder.isValid(), qPrintable(folder.error()));
        auto db = folder.open();
        QVERIFY(db);
        QVERIFY(!catalogue::productIdByName(*db, QStringLiteral("なし")));
        const QString quoted = QStringLiteral("塗料 \"A\" 'B' 100%_\\");
        const int id = **catalogue::registerProduct(*db, quoted);
        QCOMPARE(catalogue::productIdByName(*db, quoted), id);
        // Latin letters compare without regard to case, as names always have.
        const int abc = **catalogue::registerProduct(*db, QStringLiteral("ABC"));
        QCOMPARE(catalogue::productIdByName(*db, QStringLiteral("abc")), abc);
        // Wildcards are plain characters.
        QVERIFY(!catalogue::productIdByName(*db, QStringLiteral("塗料 \"A\" 'B' 1__%_\\")));
        if (testServer())
            return; // the server keeps names unique; only an old file holds twins
        // Two products of one name: the first row wins.
        execOrFail(*db, QStringLiteral("INSERT INTO 製品情報 (ID, 製品名) VALUES (9, 'twin'), (8, 'twin')"));
        QCOMPARE(catalogue::productIdByName(*db, QStringLiteral("twin")), 8);
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
