// Several PCs on one server database: what one saves, the other neither loses nor overwrites.
#include "Catalogue.h"
#include "Database.h"
#include "DbError.h"
#include "Fixture.h"
#include "OpenDatabase.h"
#include "MasterUpdate.h"
#include "ProgramMaster.h"
#include "DataFolder.h"
#include "UserMaster.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>
#include <QSet>
#include <QTest>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include <signal.h>

using namespace corvane;

namespace {

// Runs `work` on two threads at once, each with its own connection (a connection belongs to
// the thread that opened it), as two PCs would.
void onTwoConnections(const ServerAddress &server, const std::function<void(Database &, int)> &work)
{
    std::atomic<int> ready{0};
    auto run = [&](int which) {
        QString error;
        auto db = opened(openServerDatabase(server), &error);
        if (!db)
            qFatal("%s", qPrintable(error));
        ++ready;
        while (ready < 2)
            std::this_thread::yield();
        work(*db, which);
    };
    std::thread first(run, 0), second(run, 1);
    first.join();
    second.join();
}

ProgramMaster repositoryMaster()
{
    const DataSources sources = dataSourcesIn(QStringLiteral(CORVANE_SOURCE_DIR));
    auto master = loadMaster(sources.masterFolder, sources.schemaFile);
    if (!master)
        qFatal("%s", qPrintable(master.errorText()));
    return *master;
}

struct ToolRun {
    int status = -1;
    QString errors;
};

ToolRun corvaneDb(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(CORVANE_DB_TOOL), arguments);
    tool.waitForFinished(120000);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromUtf8(tool.readAllStandardError())};
}

} // namespace

class TestSharedDatabase : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!testServer())
            QSKIP("needs the test server (CORVANE_TEST_POSTGRES)");
    }

    void twoSavesOfOneProductAtOnceKeepOneAndReportTheOther()
    {
        ProgramFolder folder;
        QVERIFY2(folder.isValid(), qPrintable(folder.error()));
        auto db = folder.open();
        const int id = **catalogue::registerProduct(*db, QStringLiteral("共有製品"));
        const int loaded = catalogue::productWithEntries(*db, id)->product.revision;
        std::atomic<int> saved{0}, refused{0};
        onTwoConnections(*folder.server(), [&](Database &pc, int which) {
            const std::vector<int> ticks = which == 0 ? std::vector<int>{1, 2} : std::vector<int>{3};
            const auto result = catalogue::saveProduct(pc, id, ticks, {QStringLiteral("共有製品"), {}, {}, 0}, loaded);
            (result && result->outcome == catalogue::SaveResult::Saved ? saved : refused)++;
        });
        QCOMPARE(saved.load(), 1);
        QCOMPARE(refused.load(), 1);
        const auto stored = catalogue::productWithEntries(*db, id);
        QCOMPARE(stored->product.revision, loaded + 1);
        // Exactly one PC's ticks, whole, never a mixture.
        const auto &items = stored->entries.front().itemId;
        const bool firstWon = items[0].value_or(0) == 1;
        QCOMPARE(items[0].value_or(0), firstWon ? 1 : 3);
        QCOMPARE(items[1].value_or(0), firstWon ? 2 : 0);
        QCOMPARE(stored->product.itemCount.value_or(0), firstWon ? 2 : 1);
    }

    void registrationsFromTwoPcsNeverShareAnIdOrAName()
    {
        ProgramFolder folder;
        QVERIFY2(folder.isValid(), qPrintable(folder.error()));
        std::mutex lock;
        QList<int> ids;
        onTwoConnections(*folder.server(), [&](Database &pc, int which) {
            for (int n = 0; n < 10; ++n) {
                const auto id = catalogue::registerProduct(pc, QStringLiteral("PC%1-製品%2").arg(which).arg(n));
                const std::lock_guard<std::mutex> guard(lock);
                ids << (id ? id->value_or(-1) : -1);
            }
        });
        QCOMPARE(QSet<int>(ids.begin(), ids.end()).size(), 20);
        QVERIFY(!ids.contains(-1));

        // The same name from both: one gets it, the other is told it is taken.
        std::atomic<int> won{0}, taken{0};
        onTwoConnections(*folder.server(), [&](Database &pc, int which) {
            const QString name = which == 0 ? QStringLiteral("Same Name") : QStringLiteral("SAME name");
            (catalogue::registerProduct(pc, name).value() ? won : taken)++;
        });
        QCOMPARE(won.load(), 1);
        QCOMPARE(taken.load(), 1);
    }

    void masterUpdateOfTwoPcsStartingAtOnceRunsOnce()
    {
        ProgramFolder folder;
        QVERIFY2(folder.isValid(), qPrintable(folder.error()));
        auto db = folder.open();
        execOrFail(*db, QStringLiteral("UPDATE MasterVersion SET Version = '2000-01-01'"));
        execOrFail(*db, QStringLiteral("UPDATE 表示物質 SET 物質名 = '古い名前' WHERE ID = 1"));
        const ProgramMaster master = repositoryMaster();
        std::atomic<int> updated{0}, quiet{0};
        onTwoConnections(*folder.server(), [&](Database &pc, int) {
            const RunResult result = updateMaster(pc, master, QDateTime::currentDateTime());
            if (!result.outcome.ok())
                qFatal("%s", qPrintable(result.outcome.errorText()));
            (result.notices.isEmpty() ? quiet : updated)++;
        });
        QCOMPARE(updated.load(), 1);
        QCOMPARE(quiet.load(), 1);
        QCOMPARE(storedMasterVersion(*db), master.version);
        QCOMPARE(scalar(*db, QStringLiteral("SELECT 物質名 FROM 表示物質 WHERE ID = 1")).toString(),
                 master.substances.front().name);
    }

    // Two PCs import a new substance under the same new number with different CAS RNs while
    // a third holds the master: the number gets one substance, the other import is refused.
    void twoImportsOfOneNumberKeepOneSubstance()
    {
        ProgramFolder folder;
        QVERIFY2(folder.isValid(), qPrintable(folder.error()));
        auto db = folder.open();
        const Result<QString> stored = exportMaster(*db);
        QVERIFY(stored);
        const QString exported = *stored;
        const int next = int(catalogue::allSubstances(*db).size()) + 1;
        const ProgramMaster master = repositoryMaster();
        const QStringList cas{QStringLiteral("7732-18-5"), QStringLiteral("7440-44-0")};

        QString error;
        auto holder = openAnother(*db, &error);
        QVERIFY2(holder, qPrintable(error));
        execOrFail(*holder, QStringLiteral("BEGIN"));
        execOrFail(*holder, QStringLiteral("LOCK TABLE MasterVersion IN EXCLUSIVE MODE"));
        std::atomic<int> imported{0}, refused{0};
        std::thread release([&] {
            // Once both imports wait for the master, the third PC lets go.
            for (int tries = 0;
                 tries < 200
                 && scalar(*db, QStringLiteral("SELECT count(*) FROM pg_locks WHERE NOT granted AND database = "
                                               "(SELECT oid FROM pg_database WHERE datname = current_database())"))
                            .toInt()
                        < 2;
                 ++tries)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            execOrFail(*holder, QStringLiteral("COMMIT"));
        });
        onTwoConnections(*folder.server(), [&](Database &pc, int which) {
            const QString text = exported
                                 + QStringLiteral("%1\t取り込み物質%2\t%3\t警告\tGHS07\tH315\tP280\t\t\t\t未確認\t\t\n")
                                       .arg(next)
                                       .arg(which)
                                       .arg(cas[which]);
            const RunResult result =
                importSubstances(pc, master, text, QStringLiteral("pc%1.tsv").arg(which), QDateTime::currentDateTime());
            (result.outcome.ok() ? imported : refused)++;
            if (!result.outcome.ok() && !result.outcome.errorText().contains(QStringLiteral("CAS 番号")))
                qFatal("%s", qPrintable(result.outcome.errorText()));
        });
        release.join();
        QCOMPARE(imported.load(), 1);
        QCOMPARE(refused.load(), 1);
        QVERIFY(
            cas.contains(scalar(*db, QStringLiteral("SELECT CAS FROM 表示物質 WHERE ID = %1").arg(next)).toString()));
    }

    void aConnectionLostInTheMiddleOfASaveLeavesTheProductAsItWas()
    {
        ProgramFolder folder;
        QVERIFY2(folder.isValid(), qPrintable(folder.error()));
        auto db = folder.open();
        const int id = **catalogue::registerProduct(*db, QStringLiteral("途中で切れる"));
        QVERIFY(catalogue::saveProduct(*db, id, {1, 2},
                                       {QStringLiteral("途中で切れる"), QStringLiteral("元の注意"), {}, 0}));
        // The save stops in its entries for a while; meanwhile the server ends the session.
        execOrFail(*db, QStringLiteral("CREATE FUNCTION slow() RETURNS trigger LANGUAGE plpgsql AS "
                                       "'BEGIN PERFORM pg_sleep(5); RETURN NEW; END'"));
        execOrFail(*db,
                   QStringLiteral(
                       "CREATE TRIGGER slow BEFORE INSERT ON ProductItemEntry FOR EACH ROW EXECUTE FUNCTION slow()"));
        const int backend = scalar(*db, QStringLiteral("SELECT pg_backend_pid()")).toInt();
        std::thread server([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(700));
            QString error;
            auto admin = opened(openServerDatabase(*folder.server()), &error);
            QSqlQuery(admin->sql()).exec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(backend));
        });
        const QString message =
            catalogue::saveProduct(*db, id, {7, 8, 9},
                                   {QStringLiteral("途中で切れる"), QStringLiteral("新しい注意"), {}, 0})
                .errorText();
        server.join();
        QVERIFY2(message.contains(QStringLiteral("との接続が切れました")), qPrintable(message));
        QVERIFY2(message.contains(folder.server()->describe()), qPrintable(message));
        QVERIFY2(onlyOnTheDetailLine(message, QStringLiteral("terminating connection")), qPrintable(message));

        // The program goes on: its next read connects again and finds the product as it was.
        const auto stored = catalogue::productWithEntries(*db, id);
        QVERIFY(stored);
        QCOMPARE(stored->product.notes.value_or(QString()), QStringLiteral("元の注意"));
        QCOMPARE(stored->entries.size(), size_t(1));
        QCOMPARE(stored->entries.front().itemId[0].value_or(0), 1);
        QCOMPARE(stored->entries.front().itemId[2].has_value(), false);
    }

    // A statement the server works on too long is cancelled by the server; a server that does
    // not answer at all (its process stopped) is given up by this side. Either way within
    // the time set, with a message that names the server, and the product as it was.
    void aServerThatDoesNotAnswerInTimeIsGivenUp_data()
    {
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<QString>("said");
        QTest::newRow("the server works too long") << false << QStringLiteral("秒を超えたため、取りやめました");
        QTest::newRow("the server's process stopped") << true << QStringLiteral("秒たっても応答しません");
    }
    void aServerThatDoesNotAnswerInTimeIsGivenUp()
    {
        QFETCH(bool, stopped);
        QFETCH(QString, said);
        ProgramFolder folder;
        QVERIFY2(folder.isValid(), qPrintable(folder.error()));
        const Database::StatementTimeouts usual = Database::statementTimeouts();
        Database::setStatementTimeouts({std::chrono::milliseconds(1000), std::chrono::milliseconds(2500)});
        auto db = folder.open();
        Database::setStatementTimeouts(usual);
        const int id = **catalogue::registerProduct(*db, QStringLiteral("待たされる製品"));
        QVERIFY(catalogue::saveProduct(*db, id, {1, 2},
                                       {QStringLiteral("待たされる製品"), QStringLiteral("元の注意"), {}, 0}));
        const pid_t backend = scalar(*db, QStringLiteral("SELECT pg_backend_pid()")).toInt();
        if (!stopped) {
            execOrFail(*db, QStringLiteral("CREATE FUNCTION slow() RETURNS trigger LANGUAGE plpgsql AS "
                                           "'BEGIN PERFORM pg_sleep(20); RETURN NEW; END'"));
            execOrFail(
                *db, QStringLiteral(
                         "CREATE TRIGGER slow BEFORE INSERT ON ProductItemEntry FOR EACH ROW EXECUTE FUNCTION slow()"));
        }
        // The server process of this connection stops for a while (long enough that nothing
        // but a bound on this side ends the wait, and never for ever).
        std::atomic<bool> done{false};
        std::thread stopper([&] {
            if (!stopped)
                return;
            ::kill(backend, SIGSTOP);
            for (int waited = 0; waited < 150 && !done; ++waited)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            ::kill(backend, SIGCONT);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        QElapsedTimer clock;
        clock.start();
        const QString message =
            catalogue::saveProduct(*db, id, {7, 8, 9},
                                   {QStringLiteral("待たされる製品"), QStringLiteral("新しい注意"), {}, 0})
                .errorText();
        const qint64 waited = clock.elapsed();
        done = true;
        stopper.join();
        QVERIFY2(waited < 5000, qPrintable(QStringLiteral("%1 ms").arg(waited)));
        QVERIFY2(message.contains(said), qPrintable(message));
        QVERIFY2(message.contains(folder.server()->describe()), qPrintable(message));
        QVERIFY2(onlyOnTheDetailLine(message,
                                     stopped ? QStringLiteral("server closed") : QStringLiteral("statement timeout")),
                 qPrintable(message));

        // The next action connects again and finds the product as it was stored.
        const auto stored = catalogue::productWithEntries(*db, id);
        QVERIFY(stored);
        QCOMPARE(stored->product.notes.value_or(QString()), QStringLiteral("元の注意"));
        QCOMPARE(stored->substanceNumbers(), (std::vector<int>{1, 2}));
    }

    void initAndCopySetUpAnEmptyDatabaseAndRefuseAnyOther()
    {
        QString error;
        const auto empty = emptyServerDatabase(&error);
        QVERIFY2(empty, qPrintable(error));
        ToolRun run = corvaneDb({QStringLiteral("init"), empty->uri()});
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        auto db = opened(openServerDatabase(*empty), &error);
        QVERIFY2(db, qPrintable(error));
        QCOMPARE(catalogue::allSubstances(*db).size(), repositoryMaster().substances.size());
        run = corvaneDb({QStringLiteral("init"), empty->uri()});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.errors.contains(QStringLiteral("空ではありません")), qPrintable(run.errors));

        // A PC's file with products, a company record and a substance of the user's own.
        ProgramFolder folder;
        QVERIFY2(folder.isValid(), qPrintable(folder.error()));
        {
            auto file = opened(openDatabaseFile(folder.databasePath()), &error);
            QVERIFY2(file, qPrintable(error));
            const int a = **catalogue::registerProduct(*file, QStringLiteral("塗料A"));
            QVERIFY(catalogue::saveProduct(
                *file, a, {3, 1, 2}, {QStringLiteral("塗料A"), QStringLiteral("注意"), QStringLiteral("成分"), 2}));
            QVERIFY(catalogue::registerProduct(*file, QStringLiteral("製品B")));
            QVERIFY(catalogue::writeCompany(
                *file, {QStringLiteral("株式会社 例"), QStringLiteral("東京都"), QStringLiteral("03-0000-0000"), 0}));
            execOrFail(*file, QStringLiteral("UPDATE 表示物質 SET 物質名 = '自社の名前', UserOwned = 1 WHERE ID = 5"));
        }
        const auto target = emptyServerDatabase(&error);
        QVERIFY2(target, qPrintable(error));
        run = corvaneDb({QStringLiteral("copy"), QStringLiteral("--from"), folder.dataFolder(), QStringLiteral("--to"),
                         target->uri()});
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        auto copied = opened(openServerDatabase(*target), &error);
        QVERIFY2(copied, qPrintable(error));
        const auto product =
            catalogue::productWithEntries(*copied, *catalogue::productIdByName(*copied, QStringLiteral("塗料a")));
        QCOMPARE(product->product.notes.value_or(QString()), QStringLiteral("注意"));
        QCOMPARE(product->entries.front().itemId[0].value_or(0), 3);
        QCOMPARE(catalogue::allProducts(*copied).size(), size_t(2));
        QCOMPARE(catalogue::company(*copied)->company, QStringLiteral("株式会社 例"));
        QCOMPARE(scalar(*copied, QStringLiteral("SELECT 物質名 FROM 表示物質 WHERE ID = 5")).toString(),
                 QStringLiteral("自社の名前"));
        // New registrations on the server go on after the copied IDs.
        QCOMPARE(**catalogue::registerProduct(*copied, QStringLiteral("新製品")), 3);

        run = corvaneDb({QStringLiteral("copy"), QStringLiteral("--from"), folder.dataFolder(), QStringLiteral("--to"),
                         target->uri()});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.errors.contains(QStringLiteral("空ではありません")), qPrintable(run.errors));
    }
};

QTEST_GUILESS_MAIN(TestSharedDatabase)
#include "tst_shareddb.moc"
