// A database made by the first release, brought up to the program's master; the user's own
// substances; corvane-master's check and import refusing bad files.
#include "Catalogue.h"
#include "Database.h"
#include "MainMenu.h"
#include "MasterUpdate.h"
#include "MessageRecorder.h"
#include "ProgramMaster.h"
#include "SchemaUpgrade.h"
#include "UserMaster.h"
#include "Fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using namespace corvane;

namespace {

const QString kFixtures = QStringLiteral(CORVANE_SOURCE_DIR "/tests/master/");
const QDateTime kNow(QDate(2026, 12, 7), QTime(9, 30, 0));

QString readUtf8(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeUtf8(const QString &path, const QString &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

// Replaces the file by a database as the first release built it (its schema and master,
// kept under tests/master/first-release/), holding the test products, and any extra
// statements.
void makeFirstReleaseDatabase(const QString &path, const QStringList &extra = {})
{
    QFile::remove(path);
    const QString connection = QStringLiteral("first-release");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QStringList statements{QStringLiteral("BEGIN")}; // one write, not one a statement
        statements += schemaStatements(readUtf8(kFixtures + QStringLiteral("first-release/schema.sql")));
        for (const QString &file : {QStringLiteral("first-release/master.sql"), QStringLiteral("products.sql")})
            for (const QString &line : readUtf8(kFixtures + file).split(QLatin1Char('\n')))
                if (!line.isEmpty() && !line.startsWith(QLatin1String("--")))
                    statements << line;
        QSqlQuery query(db);
        for (const QString &statement : statements + extra + QStringList{QStringLiteral("COMMIT")})
            QVERIFY2(query.exec(statement),
                     qPrintable(query.lastError().text() + QStringLiteral(": ") + statement.left(80)));
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

QList<QVariantList> rows(Database &db, const QString &select)
{
    QSqlQuery query(db.sql());
    if (!query.exec(select))
        return {{query.lastError().text()}};
    QList<QVariantList> result;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i);
        result << row;
    }
    return result;
}

// What the user keeps: products, their entries, the company (in the first release's columns;
// an update adds columns).
QList<QVariantList> userData(Database &db)
{
    return rows(db, QStringLiteral(
                        "SELECT ID, 製品名, 注意事項, 含有成分, ItemType, ItemCount FROM 製品情報 ORDER BY rowid"))
           + rows(db, QStringLiteral("SELECT * FROM ProductItemEntry WHERE ProductID <> -1 ORDER BY rowid"))
           + rows(db, QStringLiteral("SELECT id, 会社, 住所, TEL FROM 会社情報 ORDER BY rowid"));
}

// Every row of every table of a database file, for comparing a copy with its original.
QStringList everyRow(const QString &path)
{
    QStringList all;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("every-row"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            return {db.lastError().text()};
        QSqlQuery tables(db);
        tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
        while (tables.next()) {
            QSqlQuery query(db);
            query.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(tables.value(0).toString()));
            while (query.next()) {
                QStringList values{tables.value(0).toString()};
                for (int i = 0; i < query.record().count(); ++i)
                    values << query.value(i).toString();
                all << values.join(QLatin1Char('|'));
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("every-row"));
    return all;
}

QStringList backups(const ProgramFolder &folder)
{
    return QDir(folder.dataFolder() + QStringLiteral("/backup")).entryList(QDir::Files);
}

} // namespace

class TestMasterUpdate : public QObject {
    Q_OBJECT

    ProgramMaster m_master;

    // The stored master exported, line by line.
    QStringList exported(Database &db)
    {
        const Result<QString> text = exportMaster(db);
        [&] { QVERIFY2(text, qPrintable(text.errorText())); }();
        return text ? text->split(QLatin1Char('\n')) : QStringList();
    }

    static int lineOf(const QStringList &lines, int number)
    {
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].startsWith(QString::number(number) + QLatin1Char('\t')))
                return i;
        return -1;
    }

private slots:
    void initTestCase()
    {
        const auto master = programMaster();
        QVERIFY2(master, qPrintable(master.errorText()));
        m_master = *master;
    }

    void firstReleaseDatabaseTakesTheProgramsMaster_data()
    {
        QTest::addColumn<bool>("wal");
        QTest::newRow("rollback journal") << false;
        // Another program keeps the file open in WAL mode; its last product is only in the log.
        QTest::newRow("WAL, rows still in the log") << true;
    }

    void firstReleaseDatabaseTakesTheProgramsMaster()
    {
        QFETCH(bool, wal);
        SKIP_ON_SERVER();
        ProgramFolder fresh; // built from the program's master, to compare with
        ProgramFolder folder;
        QVERIFY(fresh.isValid() && folder.isValid());
        makeFirstReleaseDatabase(folder.databasePath());
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(folder.databasePath());
        QVERIFY(other.open());
        QSqlQuery otherQuery(other);
        if (wal)
            for (const char *statement : {"PRAGMA journal_mode = WAL", "PRAGMA wal_autocheckpoint = 0",
                                          "INSERT INTO 製品情報 (ID, 製品名) VALUES (90, 'ログの中の製品')"})
                QVERIFY2(otherQuery.exec(QString::fromUtf8(statement)), qPrintable(otherQuery.lastError().text()));
        const QString original = folder.path() + QStringLiteral("/original.mde");
        QVERIFY(otherQuery.exec(QStringLiteral("VACUUM INTO '%1'").arg(original)));
        auto db = folder.open();
        QVERIFY(db);
        const QList<QVariantList> kept = userData(*db);
        QVERIFY(kept.size() > 8);

        const RunResult result = updateMaster(*db, m_master, kNow);
        QVERIFY2(result.outcome.ok(), qPrintable(result.outcome.errorText()));
        QCOMPARE(userData(*db), kept);
        QCOMPARE(storedMasterVersion(*db), m_master.version);
        QCOMPARE(rows(*db, QStringLiteral("PRAGMA integrity_check")), (QList<QVariantList>{{QStringLiteral("ok")}}));

        // The master and the list of all target substances as a fresh build holds them, and
        // as the program's master composes them.
        auto reference = fresh.open();
        for (const QString &select :
             {QStringLiteral("SELECT * FROM 表示物質 ORDER BY rowid"),
              QStringLiteral("SELECT * FROM ProductItemEntry WHERE ProductID = -1 ORDER BY rowid")})
            QCOMPARE(rows(*db, select), rows(*reference, select));
        const std::vector<SubstanceRecord> stored = catalogue::allSubstances(*db);
        QCOMPARE(stored.size(), m_master.substances.size());
        for (size_t i = 0; i < stored.size(); ++i) {
            const ComposedSubstance &s = m_master.substances[i];
            QCOMPARE(stored[i].id, s.id);
            QCOMPARE(stored[i].name, s.name);
            QCOMPARE(stored[i].hazards, s.hazards);
            QCOMPARE(stored[i].precautions, s.precautions);
            QCOMPARE(stored[i].pictures[0], s.pictures.value(0));
        }

        // The backup holds the old file's rows, and the report names it.
        const QStringList copies = backups(folder);
        QCOMPARE(copies, QStringList{QStringLiteral("Data-first-release-20261207-093000.mde")});
        const QString copy = folder.dataFolder() + QStringLiteral("/backup/") + copies[0];
        QVERIFY(everyRow(original).size() > 250);
        QCOMPARE(everyRow(copy), everyRow(original));
        QVERIFY(result.notices.last().endsWith(QDir::toNativeSeparators(copy)));

        // Done once: the next start finds the master current and says nothing.
        const RunResult again = updateMaster(*db, m_master, kNow.addDays(1));
        QVERIFY(again.outcome.ok() && again.notices.isEmpty());
        QCOMPARE(backups(folder).size(), 1);
        otherQuery.finish();
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }

    void failureLeavesTheDatabaseAsItWas_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<bool>("blockBackupFolder");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("said");
        QTest::newRow("the engine fails half-way through the rows")
            << QStringList{QStringLiteral("CREATE TRIGGER fail_half_way BEFORE UPDATE ON 表示物質 WHEN NEW.ID = 120 "
                                          "BEGIN SELECT RAISE(ABORT, 'injected failure'); END")}
            << false << false << QStringLiteral("injected failure");
        QTest::newRow("no backup folder can be made")
            << QStringList{} << true << false << QStringLiteral("控えのフォルダを作成できません");
        QTest::newRow("the database holds a newer master")
            << QStringList{QStringLiteral("CREATE TABLE MasterVersion (Version TEXT NOT NULL)"),
                           QStringLiteral("INSERT INTO MasterVersion VALUES ('2999-01-01')")}
            << false << true << QStringLiteral("より新しいため、そのまま使います");
        QTest::newRow("the recorded version cannot be read")
            << QStringList{QStringLiteral("CREATE TABLE MasterVersion (Version TEXT NOT NULL)"),
                           QStringLiteral("INSERT INTO MasterVersion VALUES ('next year')")}
            << false << false << QStringLiteral("「next year」が読めません");
    }

    void failureLeavesTheDatabaseAsItWas()
    {
        QFETCH(QStringList, extra);
        QFETCH(bool, blockBackupFolder);
        QFETCH(bool, ok);
        QFETCH(QString, said);
        SKIP_ON_SERVER();
        ProgramFolder folder;
        makeFirstReleaseDatabase(folder.databasePath(), extra);
        if (blockBackupFolder)
            writeUtf8(folder.dataFolder() + QStringLiteral("/backup"), QStringLiteral("a file where the folder goes"));
        const QByteArray before = bytesOf(folder.databasePath());
        {
            auto db = folder.open();
            const RunResult result = updateMaster(*db, m_master, kNow);
            QCOMPARE(result.outcome.ok(), ok);
            QVERIFY2(masterUpdateMessage(result).contains(said), qPrintable(masterUpdateMessage(result)));
            if (!ok)
                QVERIFY(result.outcome.errorText().startsWith(QStringLiteral("物質マスタを更新できませんでした。")));
            QCOMPARE(catalogue::allSubstances(*db).size(), size_t(236)); // the program goes on with it
        }
        QCOMPARE(bytesOf(folder.databasePath()), before);
        if (!blockBackupFolder)
            QVERIFY(backups(folder).isEmpty());
    }

    // After a day of imports: the newest ten copies taken before writes are kept, and the
    // only copy of an older master version; a copy named by a clock years ahead goes.
    void backupsBeforeWritesArePruned()
    {
        SKIP_ON_SERVER();
        ProgramFolder folder;
        const QString backup = folder.dataFolder() + QStringLiteral("/backup/");
        QVERIFY(QDir().mkpath(backup));
        QStringList earlier{QStringLiteral("Data-2026-01-01-20260101-080000.mde"),
                            QStringLiteral("Data-2026-06-01-20990101-000000.mde"),
                            QStringLiteral("Data-2026-07-01.mde"), QStringLiteral("notes.txt")};
        for (int n = 0; n < 24; ++n)
            earlier << QStringLiteral("Data-2026-06-01-20260601-0800%1.mde").arg(n, 2, 10, QLatin1Char('0'));
        for (const QString &name : earlier)
            writeUtf8(backup + name, name);
        {
            auto db = folder.open();
            execOrFail(*db, QStringLiteral("UPDATE MasterVersion SET Version = '2000-01-01'"));
            const RunResult result = updateMaster(*db, m_master, kNow);
            QVERIFY2(result.outcome.ok(), qPrintable(result.outcome.errorText()));
        }
        QStringList expected{QStringLiteral("Data-2000-01-01-20261207-093000.mde"),
                             QStringLiteral("Data-2026-01-01-20260101-080000.mde"),
                             QStringLiteral("Data-2026-07-01.mde"), QStringLiteral("notes.txt")};
        for (int n = 15; n < 24; ++n)
            expected << QStringLiteral("Data-2026-06-01-20260601-0800%1.mde").arg(n);
        expected.sort();
        QCOMPARE(backups(folder), expected);
    }

    void userRowsSurviveAnUpdate()
    {
        ProgramFolder folder;
        auto db = folder.open();
        const int last = int(m_master.substances.size());
        const std::vector<SubstanceRecord> original = catalogue::allSubstances(*db);
        // Rows are updated where they are stored: on a server their row order stays too.
        const QString storedOrder =
            QStringLiteral("SELECT ID, rowid FROM 表示物質 WHERE ID <= %1 ORDER BY ID").arg(last);
        const QStringList order = rowsOf(*db, storedOrder);

        // The user corrects substance 3's name and adds a substance of their own after the last.
        QStringList lines = exported(*db);
        lines[lineOf(lines, 3)].replace(original[2].name, QStringLiteral("試験用に直した名前"));
        lines.insert(lineOf(lines, last) + 1,
                     QStringLiteral("%1\t試験用の自社物質\t\t警告\tGHS07\tH315\tP280\t\t\t\t未確認\t\t").arg(last + 1));
        const RunResult import =
            importSubstances(*db, m_master, lines.join(QLatin1Char('\n')), QStringLiteral("mine.tsv"), kNow);
        QVERIFY2(import.outcome.ok(), qPrintable(import.outcome.errorText()));
        QVERIFY(import.notices.contains(QStringLiteral("変更した物質: 1件")));
        QVERIFY(import.notices.contains(QStringLiteral("追加した物質: 1件")));
        const QStringList marked = exported(*db);
        QCOMPARE(marked[lineOf(marked, 3) - 1], QStringLiteral("# 利用者の物質"));
        QCOMPARE(marked[lineOf(marked, last + 1) - 1], QStringLiteral("# 利用者の物質"));
        QVERIFY(marked[lineOf(marked, 2) - 1] != QStringLiteral("# 利用者の物質"));

        // A newer program whose master changed substance 3 and reached number last + 1 too.
        ProgramMaster newer = m_master;
        newer.version = QStringLiteral("2099-01-01");
        newer.substances[2].hazards += QStringLiteral("\r\n試験用に加えた文");
        ComposedSubstance grown = newer.substances[0];
        grown.id = last + 1;
        grown.name = QStringLiteral("試験用にマスタへ加えた物質");
        newer.substances.push_back(grown);

        const RunResult update = updateMaster(*db, newer, kNow.addSecs(60));
        QVERIFY2(update.outcome.ok(), qPrintable(update.outcome.errorText()));
        QVERIFY2(update.notices.contains(QStringLiteral("利用者が修正した物質: 2件（更新せずにそのまま残しました）")),
                 qPrintable(update.notices.join(QLatin1Char('\n'))));
        QVERIFY(update.notices.contains(QStringLiteral("追加した物質: 1件")));
        const std::vector<SubstanceRecord> after = catalogue::allSubstances(*db);
        QCOMPARE(after.size(), size_t(last + 2));
        QCOMPARE(after[2].name, QStringLiteral("試験用に直した名前"));
        QCOMPARE(after[2].hazards, original[2].hazards);
        QCOMPARE(after[size_t(last)].name, QStringLiteral("試験用の自社物質")); // its number kept
        QCOMPARE(after[size_t(last) + 1].name, QStringLiteral("試験用にマスタへ加えた物質"));
        const auto list =
            rows(*db, QStringLiteral("SELECT BlockNo, ItemID1, ItemID2, ItemID3, ItemID4, ItemID5, ItemID6, ItemID7, "
                                     "ItemID8, ItemID9, ItemID10, ItemID11, ItemID12 FROM ProductItemEntry "
                                     "WHERE ProductID = -1 ORDER BY BlockNo"));
        QCOMPARE(list.size(), (last + 2 + 11) / 12);
        QCOMPARE(list.last()[1 + (last + 1) % 12].toInt(), last + 2);
        QCOMPARE(rowsOf(*db, storedOrder), order);
    }

    void startUpShowsTheUpdateOnce()
    {
        ProgramFolder folder;
        if (folder.server())
            execOrFail(*folder.open(), QStringLiteral("UPDATE MasterVersion SET Version = '2000-01-01'"));
        else
            makeFirstReleaseDatabase(folder.databasePath());
        for (int start = 1; start <= 2; ++start) {
            MessageRecorder messages;
            MainMenu menu(MenuActions{});
            QVERIFY(menu.open());
            if (start == 1) {
                QCOMPARE(messages.texts().size(), 1);
                QVERIFY2(messages.texts()[0].contains(folder.server() ? QStringLiteral("物質マスタを版 2000-01-01 から")
                                                                      : QStringLiteral("更新前のデータベースの控え: ")),
                         qPrintable(messages.texts()[0]));
            } else {
                QVERIFY(messages.texts().isEmpty());
            }
            menu.close();
        }
    }

    // A database of an earlier release whose master is current lacks only the revision
    // columns: it reads as it is, the start-up adds them without a word, and saves that
    // expect a revision then work. A database made now lacks nothing, so a start writes
    // nothing.
    void startUpAddsTheColumnsOfAnEarlierRelease()
    {
        ProgramFolder folder;
        QVERIFY2(folder.isValid(), qPrintable(folder.error()));
        auto db = folder.open();
        QVERIFY(db);
        const QString schema = readUtf8(QStringLiteral(CORVANE_SOURCE_DIR "/data/schema.sql"));
        QCOMPARE(missingColumns(*db, schema), QStringList());
        for (const QString &table : {QStringLiteral("製品情報"), QStringLiteral("会社情報")})
            execOrFail(*db, QStringLiteral("ALTER TABLE %1 DROP COLUMN Revision").arg(table));
        const int id = **catalogue::registerProduct(*db, QStringLiteral("前の版の製品"));
        QCOMPARE(catalogue::productById(*db, id)->revision, 0);

        const RunResult started = updateMasterAtStartUp(*db);
        QVERIFY2(started.outcome.ok(), qPrintable(started.outcome.errorText()));
        QCOMPARE(started.notices, QStringList());
        QCOMPARE(missingColumns(*db, schema), QStringList());
        const auto saved = catalogue::saveProduct(*db, id, {1, 2}, {QStringLiteral("前の版の製品"), {}, {}, 0}, 0);
        QVERIFY2(saved, qPrintable(saved.errorText()));
        QCOMPARE(saved->outcome, catalogue::SaveResult::Saved);
        QCOMPARE(catalogue::productById(*db, id)->revision, 1);
        QCOMPARE(catalogue::writeCompany(*db, {QStringLiteral("会社"), {}, {}}, 0).value().outcome,
                 catalogue::SaveResult::Saved);
        QCOMPARE(catalogue::company(*db)->revision, 1);
    }

    // corvane-master check and import on a file made from the stored master: every row
    // exported, then one row broken (or not), as the bytes of the file.
    void masterToolRefusesBadFiles_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("brokenRow"); // replaces the row of substance 10
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        // Row 10 as the stored master has it but for the name ({cas}: the stored CAS RN).
        const auto row = [](const QByteArray &name, const QByteArray &cas = "{cas}",
                            const QByteArray &codes = "警告\tGHS07\tH315\tP280") {
            return QByteArray("10\t") + name + "\t" + cas + "\t" + codes + "\t\t\t\t未確認\t\t";
        };
        const QByteArray unknownCode = "危険\tGHS02\tH999\tP210";
        QTest::newRow("check: clean") << "check" << QByteArray() << 0 << QStringLiteral("誤りはありません");
        QTest::newRow("check: unknown H code")
            << "check" << row("試験", "{cas}", unknownCode) << 1 << QStringLiteral("H999");
        QTest::newRow("check: a column short") << "check" << QByteArray("10\t試験\t\t危険\tGHS02") << 1 << QString();
        QTest::newRow("import: unknown H code")
            << "import" << row("試験", "{cas}", unknownCode) << 1 << QStringLiteral("何も取り込みませんでした");
        QTest::newRow("import: the stored substance's CAS RN left out")
            << "import" << row("試験", "") << 1 << QStringLiteral("CAS 番号");
        QTest::newRow("import: a CAS RN other than the stored substance's")
            << "import" << row("試験", "1234-56-6") << 1 << QStringLiteral("CAS 番号");
        // Rows that are right but for what a label cannot print, or a terminal should not receive.
        const QByteArray shiftJis("\x83\x41\x83\x5a\x83\x67\x83\x93"); // アセトン in code page 932
        QTest::newRow("check: saved as Shift_JIS") << "check" << row(shiftJis) << 1 << QStringLiteral("Shift_JIS");
        QTest::newRow("import: saved as Shift_JIS") << "import" << row(shiftJis) << 1 << QStringLiteral("Shift_JIS");
        QTest::newRow("import: a byte that is not UTF-8")
            << "import" << row("試験\xff") << 1 << QStringLiteral("UTF-8 として読めない");
        QTest::newRow("import: NUL in a name")
            << "import" << row(QByteArray("試", 3) + QByteArray(1, '\0') + "験") << 1 << QStringLiteral("U+0000");
        QTest::newRow("import: an escape sequence")
            << "import" << row("\x1b[2J\x1b]0;title\x07試験") << 1 << QStringLiteral("U+001B");
        QTest::newRow("import: a carriage return inside a row")
            << "import" << row("試\r験") << 1 << QStringLiteral("U+000D");
        QTest::newRow("import: a name of 601 characters")
            << "import" << row(QByteArray(601, 'A')) << 1 << QStringLiteral("物質名が長すぎます");
        QTest::newRow("import: a name of 3.5 million characters")
            << "import" << row(QByteArray(3500000, 'A')) << 1 << QStringLiteral("行が長すぎます");
    }

    void masterToolRefusesBadFiles()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, brokenRow);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        ProgramFolder folder;
        QStringList lines;
        {
            auto db = folder.open();
            lines = exported(*db);
        }
        const int broken = lineOf(lines, 10);
        brokenRow.replace("{cas}", lines[broken].section(QLatin1Char('\t'), 2, 2).toUtf8());
        QByteArray bytes;
        for (int n = 0; n < lines.size(); ++n)
            bytes += (n == broken && !brokenRow.isEmpty() ? brokenRow : lines[n].toUtf8())
                     + (n + 1 < lines.size() ? "\n" : "");
        const QString file = folder.path() + QStringLiteral("/mine.tsv");
        {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        }
        const auto stored = [&] {
            if (!folder.server())
                return bytesOf(folder.databasePath());
            return rowsOf(*folder.open(), QStringLiteral("SELECT * FROM 表示物質 ORDER BY ID"))
                .join(QLatin1Char('\n'))
                .toUtf8();
        };
        const QByteArray before = stored();

        QProcess tool;
        QStringList arguments{command, file, QStringLiteral("--data"), folder.dataFolder()};
        if (folder.server())
            arguments << QStringLiteral("--database") << folder.server()->uri();
        tool.start(QStringLiteral(CORVANE_MASTER_TOOL), arguments);
        QVERIFY(tool.waitForFinished(60000));
        const QByteArray printed = tool.readAllStandardOutput() + tool.readAllStandardError();
        const QString out = QString::fromUtf8(printed);
        QCOMPARE(tool.exitCode(), exitCode);
        for (const char c : printed) // nothing from the file reaches the terminal as a control character
            QVERIFY2(static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\t', qPrintable(out.left(300)));
        QVERIFY(printed.size() < 100000);
        QVERIFY2(out.contains(said), qPrintable(out));
        if (exitCode != 0) // every error names the line of the broken row
            QVERIFY2(out.contains(QStringLiteral("mine.tsv %1行目").arg(broken + 1)), qPrintable(out));
        QCOMPARE(stored(), before);
        QVERIFY(backups(folder).isEmpty());
    }
};

QTEST_MAIN(TestMasterUpdate)
#include "tst_masterupdate.moc"
