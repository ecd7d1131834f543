#include "SqlDialect.h"
#include "Database.h"
#include "SqlFailure.h"

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

bool forwardOnly(const Database &db) { return !onServer(db); }

DbError statementFailure(Database &db, const QSqlError &error)
{
    if (!onServer(db))
        return DbError(sqlFailure(error));
    if (db.takeNoAnswer()) {
        db.markConnectionLost();
        return DbError(serverNoAnswer(db.where(), error, db.answerTimeout()));
    }
    if (isConnectionFailure(error))
        db.markConnectionLost();
    return DbError(serverFailure(db.where(), error, db.serverTimeout()));
}

QString selectTableNames(const Database &db)
{
    return onServer(db) ? QStringLiteral("SELECT table_name FROM information_schema.tables "
                                         "WHERE table_schema = current_schema() ORDER BY table_name")
                        : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                         "AND name NOT LIKE 'sqlite_%' ORDER BY name");
}

QString selectColumns(const Database &db)
{
    return onServer(db) ? QStringLiteral("SELECT table_name, column_name FROM information_schema.columns "
                                         "WHERE table_schema = current_schema() ORDER BY table_name, ordinal_position")
                        : QStringLiteral("SELECT tables.name, columns.name FROM sqlite_master AS tables, "
                                         "pragma_table_info(tables.name) AS columns WHERE tables.type = 'table' "
                                         "AND tables.name NOT LIKE 'sqlite_%' ORDER BY tables.name, columns.cid");
}

QString countColumn(const Database &db)
{
    // pg_attribute, not information_schema: the view takes tens of milliseconds to ask.
    return onServer(db) ? QStringLiteral("SELECT count(*) FROM pg_attribute WHERE attrelid = to_regclass(?) "
                                         "AND attname = lower(?) AND NOT attisdropped")
                        : QStringLiteral("SELECT count(*) FROM pragma_table_info(?) WHERE lower(name) = lower(?)");
}

} // namespace corvane::dialect
