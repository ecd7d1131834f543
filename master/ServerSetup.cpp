#include "ServerSetup.h"
#include "Database.h"
#include "DbError.h"
#include "MasterUpdate.h"
#include "MasterWrite.h"
#include "OpenDatabase.h"
#include "ProgramMaster.h"
#include "SchemaUpgrade.h"
#include "SchemaLookup.h"
#include "SqlRun.h"
#include "Transaction.h"

#include <QSqlQuery>

namespace corvane {
namespace {

// The tables a copy moves, in an order that keeps every reference valid.
const QStringList kCopiedTables{QStringLiteral("MasterVersion"),    QStringLiteral("表示物質"),
                                QStringLiteral("物質分類"),         QStringLiteral("製品情報"),
                                QStringLiteral("ProductItemEntry"), QStringLiteral("製品含有率"),
                                QStringLiteral("製品物性"),         QStringLiteral("会社情報")};

RunResult failure(const Failure &reason) { return {reason, {}}; }

// The server database, open and holding no table yet.
Result<std::unique_ptr<Database>> openEmpty(const ServerAddress &address)
{
    auto db = openServerDatabase(address, false);
    if (!db)
        return db;
    if (const QStringList tables = tableNames(**db); !tables.isEmpty())
        return Failure{QStringLiteral("サーバー %1 のデータベースは空ではありません（表: %2）。何も変えていません。\n"
                                      "空のデータベースを指定してください（例: createdb で新しく作る）。")
                           .arg(address.describe(), tables.join(QStringLiteral("、")))};
    return db;
}

void createTables(Database &db, const ProgramMaster &master)
{
    for (const QString &statement : schemaStatements(master.serverSchema))
        runSql(db, statement);
}

int rowCount(Database &db, const QString &table)
{
    QSqlQuery query = runSql(db, QStringLiteral("SELECT count(*) FROM %1").arg(table));
    return query.next() ? query.value(0).toInt() : -1;
}

// Copies one table's rows in their stored order; returns how many.
int copyTable(Database &from, Database &to, const QString &table)
{
    const QStringList targetColumns = columnNames(to, table);
    QStringList columns;
    for (const QString &column : columnNames(from, table))
        if (column.compare(QLatin1String("rowid"), Qt::CaseInsensitive) != 0
            && targetColumns.contains(column, Qt::CaseInsensitive))
            columns << column; // every column name of the schema works unquoted in both

    const QString list = columns.join(QStringLiteral(", "));
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    const QString insert =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, list, marks.join(QStringLiteral(", ")));
    int copied = 0;
    for (QSqlQuery rows = runSql(from, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(list, table));
         rows.next(); ++copied) {
        QVariantList values;
        for (qsizetype i = 0; i < columns.size(); ++i)
            values << rows.value(int(i));
        runSql(to, insert, values);
    }
    return copied;
}

QStringList namesOnlyCaseTellsApart(Database &file)
{
    QStringList names;
    for (QSqlQuery query =
             runSql(file, QStringLiteral("SELECT group_concat(製品名, ' / ') FROM 製品情報 WHERE 製品名 IS NOT NULL "
                                         "GROUP BY 製品名 COLLATE NOCASE HAVING count(*) > 1"));
         query.next();)
        names << QStringLiteral("  ") + query.value(0).toString();
    return names;
}

} // namespace

RunResult initServerDatabase(const ServerAddress &address, const ProgramMaster &master)
{
    auto opened = openEmpty(address);
    if (!opened)
        return failure(opened.failure());
    const std::unique_ptr<Database> db = std::move(*opened);
    try {
        Transaction transaction(*db);
        createTables(*db, master);
        writeProgramMaster(*db, master);
        transaction.commit();
    } catch (const std::exception &failed) {
        return failure(failureOf(failed).after(QStringLiteral("準備できませんでした。データベースは空のままです。")));
    }
    return {{},
            {QStringLiteral("サーバー %1 に表を作り、物質マスタ（版 %2、%3 物質）を入れました。")
                 .arg(address.describe(), master.version)
                 .arg(master.substances.size())}};
}

RunResult copyToServer(Database &file, const ServerAddress &address, const ProgramMaster &master)
{
    auto opened = openEmpty(address);
    if (!opened)
        return failure(opened.failure());
    const std::unique_ptr<Database> db = std::move(*opened);
    RunResult result;
    try {
        // One state of the file throughout: a program saving meanwhile waits, so the copy holds
        // its save whole or not at all.
        Transaction snapshot(file, Transaction::Kind::Read);
        if (const QStringList twins = namesOnlyCaseTellsApart(file); !twins.isEmpty())
            return failure(
                {QStringLiteral("英字の大文字と小文字だけが違う製品名があります。サーバーでは同じ名前になるため、"
                                "何も写していません。どちらかの名前を変えてからやり直してください。\n")
                 + twins.join(QLatin1Char('\n'))});
        Transaction transaction(*db);
        createTables(*db, master);
        for (const QString &table : kCopiedTables) {
            if (!tableExists(file, table))
                continue; // a file of the first release has no version table
            const int copied = copyTable(file, *db, table);
            const int stored = rowCount(file, table);
            if (copied != stored || rowCount(*db, table) != stored)
                return failure(
                    {QStringLiteral("表「%1」の行数が合いません（ファイル %2 行、写した行 %3）。何も写していません。")
                         .arg(table)
                         .arg(stored)
                         .arg(copied)});
            result.notices << QStringLiteral("%1: %2 行").arg(table).arg(copied);
        }
        transaction.commit();
        snapshot.commit();
    } catch (const std::exception &failed) {
        return failure(
            failureOf(failed).after(QStringLiteral("写せませんでした。サーバーのデータベースは空のままです。")));
    }
    result.notices.prepend(QStringLiteral("%1 をサーバー %2 に写しました。").arg(file.where(), address.describe()));
    const RunResult update = updateMaster(*db, master, QDateTime::currentDateTime());
    result.notices << update.notices;
    if (!update.outcome)
        return {update.outcome, result.notices};
    return result;
}

} // namespace corvane
