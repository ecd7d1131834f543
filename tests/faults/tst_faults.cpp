// The program under a database that refuses writes (read-only) or has no room left (disk
// full): every save, registration, deletion and the company form report the failure in a
// message box, nothing stored is lost or half-written, and the program keeps running.
#include "Catalogue.h"
#include "Database.h"
#include "DialogDriver.h"
#include "ErrorBoundary.h"
#include "Fixture.h"
#include "OpenDatabase.h"
#include "ListView.h"
#include "MessageRecorder.h"
#include "ProductEditor.h"
#include "Program.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <thread>

using namespace corvane;

namespace {

QList<QList<int>> entriesOf(Database &db, int id)
{
    QList<QList<int>> rows;
    for (const EntryRecord &entry : catalogue::entries(db, id)) {
        QList<int> row;
        for (const std::optional<int> &slot : entry.itemId)
            row << slot.value_or(0);
        rows << row;
    }
    return rows;
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFolder> folder;

private slots:
    void twoCopiesWaitForEachOther();
    void init()
    {
        folder = std::make_unique<ProgramFolder>();
        QVERIFY(folder->isValid());
        auto db = folder->open();
        QVERIFY(catalogue::registerProduct(*db, QStringLiteral("製品A")));
        QVERIFY(catalogue::saveProduct(*db, 1, {1, 2, 3}, {QStringLiteral("製品A"), QStringLiteral("注意"), {}, 0}));
        QVERIFY(catalogue::writeCompany(*db, {QStringLiteral("会社"), {}, {}}));
    }

    void failuresAreReportedAndNothingIsLost_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("explanation");
        QTest::addColumn<QString>("engineWords"); // the engine's own text, only on the 詳細 line
        QTest::newRow("read-only") << true << QStringLiteral("読み取り専用") << QStringLiteral("readonly");
        QTest::newRow("disk full") << false << QStringLiteral("ディスクがいっぱい") << QStringLiteral("is full");
    }
    void failuresAreReportedAndNothingIsLost()
    {
        QFETCH(bool, readOnly);
        QFETCH(QString, explanation);
        QFETCH(QString, engineWords);
        MessageRecorder messages;
        Program program([](QWidget *, Database &, int, LabelKind, bool) {});
        MainMenu &menu = program.menu();
        QVERIFY(menu.open());
        menu.show();
        menu.productNameEdit->setText(QStringLiteral("製品A"));
        menu.checkProductName();
        Database &db = *menu.database();
        if (readOnly) {
            execOrFail(db, QStringLiteral("PRAGMA query_only = ON"));
        } else {
            // No page left, and no room left in the pages of any table (rows of filler
            // that the program never reads).
            execOrFail(db, QStringLiteral("PRAGMA max_page_count = %1")
                               .arg(scalar(db, QStringLiteral("PRAGMA page_count")).toInt()));
            QSqlQuery fill(db.sql());
            int filler = 1000000;
            for (const QString &insert :
                 {QStringLiteral("INSERT INTO 製品情報 (ID, 製品名) VALUES (%1, hex(randomblob(%2)))"),
                  QStringLiteral("INSERT INTO 会社情報 (id, 会社) VALUES (%1, hex(randomblob(%2)))"),
                  QStringLiteral("INSERT INTO ProductItemEntry (ProductID, BlockNo) VALUES (-%1, %2)")})
                for (int size : {400, 40, 4, 1})
                    while (fill.exec(insert.arg(++filler).arg(size))) {
                    }
        }

        const auto expectFailure = [&](const char *what) {
            QVERIFY2(messages.messages().size() == 1, qPrintable(QString::fromLatin1(what) + QLatin1Char(' ')
                                                                 + messages.texts().join(QLatin1Char('/'))));
            QVERIFY2(messages.texts().front().startsWith(QStringLiteral("データベースのエラーです。")), what);
            QVERIFY2(messages.texts().front().contains(explanation), qPrintable(messages.texts().front()));
            QVERIFY2(onlyOnTheDetailLine(messages.texts().front(), engineWords), qPrintable(messages.texts().front()));
            messages.clear();
        };

        onModalOfType<ProductEditor>([&](ProductEditor &editor) {
            // Saving the product with many more substances: refused, stored content kept.
            editor.tickAll();
            editor.printNormalButton->click(); // the normal label saves first
            expectFailure("save before printing");
            // Registration: the dialog reports and stays open; nothing is added.
            onModalOfType<ProductNameDialog>([&](ProductNameDialog &dialog) {
                dialog.nameEdit->setText(QStringLiteral("新製品"));
                dialog.okButton->click();
                QVERIFY(dialog.isVisible());
                expectFailure("registration");
                dialog.cancelButton->click();
            });
            editor.addButton->click();
            QCOMPARE(editor.productNameEdit->text(), QStringLiteral("製品A"));
            // Deletion, answered OK, on a read-only file: reported, the product stays on
            // screen and stored. (A full disk still lets a deletion through.)
            if (readOnly) {
                messages.answerNext(MsgResult::Ok);
                editor.deleteButton->click();
                QCOMPARE(messages.messages().size(), 2);
                QVERIFY(messages.texts().at(1).contains(explanation));
                messages.clear();
                QCOMPARE(editor.productNameEdit->text(), QStringLiteral("製品A"));
                QCOMPARE(editor.state().productId, 1);
            }
            editor.backButton->click(); // the save on closing is refused as well
            expectFailure("save on closing");
        });
        menu.editorButton->click();

        onModalOfType<CompanyForm>([&](CompanyForm &form) {
            form.findChildren<QLineEdit *>().at(0)->setText(QStringLiteral("別の会社"));
            form.close();
            expectFailure("company");
        });
        menu.companyButton->click();
        QVERIFY(menu.isVisible()); // still running

        execOrFail(db, QStringLiteral("PRAGMA query_only = OFF"));
        execOrFail(db, QStringLiteral("PRAGMA max_page_count = 1000000"));
        QCOMPARE(scalar(db, QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        QCOMPARE(entriesOf(db, 1), (QList<QList<int>>{{1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));
        QCOMPARE(catalogue::productById(db, 1)->notesText(), QStringLiteral("注意"));
        QCOMPARE(scalar(db, QStringLiteral("SELECT count(*) FROM 製品情報 WHERE ID < 1000000")).toInt(), 1);
        QCOMPARE(catalogue::company(db)->company, QStringLiteral("会社"));
        menu.close();
    }
};

// A second copy of the program holds the file for a while, in its own thread and connection.
class SecondCopy {
public:
    SecondCopy(const QString &path, int holdMilliseconds)
        : m_thread([this, path, holdMilliseconds] {
              QString error;
              auto db = opened(openDatabaseFile(path), &error);
              QSqlQuery query(db->sql());
              query.exec(QStringLiteral("BEGIN IMMEDIATE"));
              m_holding = true;
              std::this_thread::sleep_for(std::chrono::milliseconds(holdMilliseconds));
              query.exec(QStringLiteral("COMMIT"));
          })
    {
        while (!m_holding)
            std::this_thread::yield();
    }
    ~SecondCopy() { m_thread.join(); }

private:
    std::atomic<bool> m_holding = false;
    std::thread m_thread;
};

void TestFaults::twoCopiesWaitForEachOther()
{
    auto db = folder->open();
    {
        SecondCopy other(folder->databasePath(), 300);
        QVERIFY(catalogue::saveProduct(*db, 1, {7, 8}, {QStringLiteral("製品A"), {}, {}, 0}));
    }
    QCOMPARE(entriesOf(*db, 1).front().mid(0, 3), (QList<int>{7, 8, 0}));

    // Held longer than the program waits: a clear message, and the product as it was.
    SecondCopy other(folder->databasePath(), 6500);
    MessageRecorder messages;
    guarded(nullptr, [&] { savedOrThrow(catalogue::saveProduct(*db, 1, {9}, {QStringLiteral("製品A"), {}, {}, 0})); });
    QCOMPARE(messages.messages().size(), 1);
    QVERIFY2(messages.texts().front().contains(QStringLiteral("ほかのプログラムが使用中")),
             qPrintable(messages.texts().front()));
    QCOMPARE(entriesOf(*db, 1).front().mid(0, 3), (QList<int>{7, 8, 0}));
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
