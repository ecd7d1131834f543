// Another program saving a product again and again on the same Data.mde while one of the
// programs runs a long write (an import, a master update, the daily backup, a copy to a
// server): two real processes. Each save and the long write either happen whole and are
// reported done, or leave the data as it was and say so.
#include "Catalogue.h"
#include "Database.h"
#include "DbError.h"
#include "Fixture.h"
#include "OpenDatabase.h"
#include "UserMaster.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <atomic>
#include <thread>

using namespace corvane;

namespace {

// The ticks of the k-th save: two sets of 60 substances in turn, so a save half-applied or
// mixed with another shows.
std::vector<int> ticksOfSave(int k)
{
    std::vector<int> ticks;
    for (int n = 1; n <= 60; ++n)
        ticks.push_back(k % 2 ? n : 60 + n);
    return ticks;
}

// Which save the product holds, when it holds one whole; -1 when its notes and its entries
// belong to different saves (or it is gone).
int wholeSave(Database &db, int productId)
{
    const auto product = catalogue::productWithEntries(db, productId);
    if (!product)
        return -1;
    const int k = product->product.notesText().mid(5).toInt(); // "save k"
    return product->substanceNumbers() == ticksOfSave(k) && product->product.itemCount == 60 ? k : -1;
}

// What the saving program saw.
struct Saves {
    int done = 0, refused = 0, lastDone = 0, lastRevision = 0;
    QStringList wrongMessages; // failures told in words that are not the truth
};

struct Child {
    int status = -1;
    QString output;
};

} // namespace

class TestLongWrites : public QObject {
    Q_OBJECT

private slots:
    void writerAgainstLongWrite_data()
    {
        QTest::addColumn<QString>("longWrite");
        QTest::newRow("import of 1,500 substances") << QStringLiteral("import");
        QTest::newRow("master update at start-up") << QStringLiteral("update");
        QTest::newRow("daily backup at start-up") << QStringLiteral("daily backup");
        QTest::newRow("copy to a server") << QStringLiteral("copy");
    }

    void writerAgainstLongWrite()
    {
        QFETCH(QString, longWrite);
        const bool copy = longWrite == QLatin1String("copy");
        if (copy != testServer().has_value())
            QSKIP(copy ? "needs the test server" : "about the file Data.mde");
        ProgramFolder folder;
        QVERIFY2(folder.isValid(), qPrintable(folder.error()));
        QString error;
        auto db = opened(openDatabaseFile(folder.databasePath()), &error);
        QVERIFY2(db, qPrintable(error));
        const int id = **catalogue::registerProduct(*db, QStringLiteral("保存し続ける製品"));
        QVERIFY(catalogue::saveProduct(*db, id, ticksOfSave(0),
                                       {QStringLiteral("保存し続ける製品"), QStringLiteral("save 0"), {}, 0}));
        const int substances = int(catalogue::allSubstances(*db).size());

        QString program;
        QStringList arguments;
        const QString work = folder.path();
        std::optional<ServerAddress> server;
        if (longWrite == QLatin1String("import")) {
            const Result<QString> exported = exportMaster(*db);
            QVERIFY(exported);
            QString text = *exported;
            for (int n = 1; n <= 1500; ++n)
                text += QStringLiteral("%1\t取り込み試験物質%2\t\t警告\tGHS07\tH315\tP280\t\t\t\t未確認\t\t\n")
                            .arg(substances + n)
                            .arg(n);
            QFile file(work + QStringLiteral("/mine.tsv"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text.toUtf8());
            file.close();
            program = QStringLiteral(CORVANE_MASTER_TOOL);
            arguments = {QStringLiteral("import"), file.fileName()};
        } else if (longWrite == QLatin1String("update")) {
            execOrFail(*db, QStringLiteral("UPDATE MasterVersion SET Version = '2000-01-01'"));
            execOrFail(*db, QStringLiteral("UPDATE 表示物質 SET 物質名 = '古い名前', \"危険有害性情報：\" = '古い文'"));
            program = QStringLiteral(CORVANE_MASTER_TOOL);
            arguments = {QStringLiteral("export")};
        } else if (longWrite == QLatin1String("daily backup")) {
            program = QStringLiteral(CORVANE_PRINT);
            arguments = {QStringLiteral("--product"), QStringLiteral("-1"),       QStringLiteral("--kind"),
                         QStringLiteral("4"),         QStringLiteral("--output"), work + QStringLiteral("/all.pdf")};
        } else {
            server = emptyServerDatabase(&error);
            QVERIFY2(server, qPrintable(error));
            program = QStringLiteral(CORVANE_DB_TOOL);
            arguments = {QStringLiteral("copy"), QStringLiteral("--to"), server->uri(), QStringLiteral("--from")};
        }
        arguments << (copy ? QStringList{} : QStringList{QStringLiteral("--data")}) << folder.dataFolder();
        db.reset();

        // The other program: saves every few milliseconds until the long write has ended (as
        // fast as it can would keep the long write from ever taking the lock: the engine's
        // locks are not taken in turn).
        Saves saves;
        std::atomic<bool> stop{false}, started{false};
        std::thread writer(
            [&] {
                QString openError;
                auto mine = opened(openDatabaseFile(folder.databasePath()), &openError);
                if (!mine)
                    qFatal("%s", qPrintable(openError));
                saves.lastRevision = catalogue::productWithEntries(*mine, id)->product.revision;
                for (int k = 1; !stop; ++k) {
                    const auto saved = catalogue::saveProduct(
                        *mine, id, ticksOfSave(k),
                        {QStringLiteral("保存し続ける製品"), QStringLiteral("save %1").arg(k), {}, 0},
                        saves.lastRevision);
                    if (!saved) {
                        ++saves.refused;
                        if (!saved.errorText().contains(QStringLiteral("ほかのプログラムが使用中")))
                            saves.wrongMessages << saved.errorText();
                    } else if (saved->outcome != catalogue::SaveResult::Saved) {
                        saves.wrongMessages
                            << QStringLiteral("save %1: changed elsewhere, but nobody else saves it").arg(k);
                        break;
                    } else {
                        ++saves.done;
                        saves.lastDone = k;
                        saves.lastRevision = saved->revision;
                    }
                    started = true;
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            });
        while (!started)
            std::this_thread::yield();
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        const bool finished = process.waitForFinished(120000);
        stop = true;
        writer.join();
        QVERIFY(finished);
        const Child child{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                          QString::fromUtf8(process.readAll())};

        // The saving program was told the truth, and its last save is what is stored.
        QVERIFY2(saves.wrongMessages.isEmpty(), qPrintable(saves.wrongMessages.join(QLatin1Char('\n'))));
        db = opened(openDatabaseFile(folder.databasePath()), &error);
        QVERIFY2(db, qPrintable(error));
        QCOMPARE(scalar(*db, QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        QCOMPARE(wholeSave(*db, id), saves.lastDone);
        QCOMPARE(catalogue::productWithEntries(*db, id)->product.revision, saves.lastRevision);

        // The long write did what it reported, whole.
        // Printing the list of all target substances ends with 3: printed, the few substances of
        // the master no sheet of additional labels holds named (tests/printing/whole-master-cut.tsv).
        QVERIFY2(child.status == 0 || (longWrite == QLatin1String("daily backup") && child.status == 3),
                 qPrintable(child.output));
        if (longWrite == QLatin1String("import")) {
            QVERIFY2(child.output.contains(QStringLiteral("追加した物質: 1500件")), qPrintable(child.output));
            QCOMPARE(int(catalogue::allSubstances(*db).size()), substances + 1500);
        } else if (longWrite == QLatin1String("update")) {
            QVERIFY2(child.output.contains(QStringLiteral("物質マスタを版 2000-01-01 から")), qPrintable(child.output));
            QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 表示物質 WHERE 物質名 = '古い名前'")).toInt(), 0);
        }
        if (longWrite == QLatin1String("update") || longWrite == QLatin1String("import")
            || longWrite == QLatin1String("daily backup")) {
            // The copy taken before it is whole too, and holds a whole save.
            const QStringList copies = QDir(folder.dataFolder() + QStringLiteral("/backup")).entryList(QDir::Files);
            QCOMPARE(copies.size(), 1);
            auto backup =
                opened(openDatabaseFile(folder.dataFolder() + QStringLiteral("/backup/") + copies[0]), &error);
            QVERIFY2(backup, qPrintable(error));
            QVERIFY(wholeSave(*backup, id) >= 0);
        } else {
            auto copied = opened(openServerDatabase(*server), &error);
            QVERIFY2(copied, qPrintable(error));
            QVERIFY(wholeSave(*copied, id) >= 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestLongWrites)
#include "tst_longwrites.moc"
