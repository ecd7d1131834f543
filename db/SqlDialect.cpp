#include "SqlDialect.h"
#include "Database.h"
#include "SqlRun.h"

namespace corvane::dialect {
namespace {

bool onServer(const Database &db) { return db.dialect() == Database::Dialect::Postgres; }

} // namespace

QString beginTransaction(const Database &db)
{
    return onServer(db) ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE");
}

QString beginReading(const Database &db)
{
    // The file takes its read lock with the first statement and keeps it to the end.
    return onServer(db) ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY") : QStringLiteral("BEGIN");
}

QString forUpdate(const Database &db) { return onServer(db) ? QStringLiteral(" FOR UPDATE") : QString(); }

QString sameProductName(const Database &db)
{
    // The file's column compares with NOCASE; the server's index is on corvane_fold(製品名).
    return onServer(db) ? QStringLiteral("corvane_fold(製品名) = corvane_fold(?)") : QStringLiteral("製品名 = ?");
}

size_t rowsPerInsert(const Database &db) { return onServer(db) ? 100 : 1; }

void lockTable(Database &db, const QString &table)
{
    if (onServer(db))
        runSql(db, QStringLiteral("LOCK TABLE %1 IN SHARE ROW EXCLUSIVE MODE").arg(table));
}

void lockMasterUpdate(Database &db)
{
    if (!onServer(db))
        return;
    // Other PCs keep reading while one updates; the update may take longer than a save.
    constexpr std::chrono::seconds kWait{120};
    runSql(db, QStringLiteral("SET LOCAL lock_timeout = '%1s'").arg(kWait.count()));
    runSql(db, QStringLiteral("SET LOCAL statement_timeout = '%1s'").arg((kWait + std::chrono::seconds(5)).count()));
    runSql(db, QStringLiteral("LOCK TABLE MasterVersion IN EXCLUSIVE MODE"), {}, kWait + std::chrono::seconds(5));
}

QStringList tableNames(Database &db)
{
    QSqlQuery query = runSql(db, onServer(db) ? QStringLiteral("SELECT table_name FROM information_schema.tables "
                                                               "WHERE table_schema = current_schema() ORDER BY table_name")
                                              : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                                               "AND name NOT LIKE 'sqlite_%' ORDER BY name"));
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

bool tableExists(Database &db, const QString &table)
{
    return tableNames(db).contains(table, Qt::CaseInsensitive);
}

QStringList columnNames(Database &db, const QString &table)
{
    QSqlQuery query = runSql(db, onServer(db) ? QStringLiteral("SELECT column_name FROM information_schema.columns WHERE "
                                                               "table_schema = current_schema() AND lower(table_name) = "
                                                               "lower(?) ORDER BY ordinal_position")
                                              : QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"),
                             {table});
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

} // namespace corvane::dialect
