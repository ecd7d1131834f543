#include "DialectSteps.h"
#include "Database.h"
#include "DatabaseBackup.h"
#include "DbError.h"
#include "SchemaUpgrade.h"
#include "SqlRun.h"

namespace corvane::dialect {
namespace {

bool onServer(const Database &db) { return db.dialect() == Database::Dialect::Postgres; }

} // namespace

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

Outcome beginMasterWrite(Database &db, const QString &storedVersion, const QDateTime &now,
                         std::optional<Transaction> &transaction, QString &backup)
{
    if (onServer(db)) {
        // Several PCs may start at once: the first writes, the others wait here.
        transaction.emplace(db);
        lockMasterUpdate(db);
        return {};
    }
    backup = backupPathFor(db.path(), storedVersion, now.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    Outcome copied = backupAndBeginWrite(db, backup, transaction);
    if (!copied)
        backup.clear();
    return copied;
}

QStringList addMissingSchema(Database &db, const QString &schema, const QString &serverSchema)
{
    return onServer(db) ? addMissingServerSchema(db, serverSchema) : addMissingFileSchema(db, schema);
}

Outcome upgradeSchema(Database &db, const QString &schema, const QString &serverSchema)
{
    try {
        if (missingColumns(db, schema).isEmpty())
            return {};
        Transaction transaction(db);
        lockMasterUpdate(db); // two PCs starting at once add the columns once
        addMissingSchema(db, schema, serverSchema);
        transaction.commit();
        return {};
    } catch (const DbError &error) {
        return error.failure();
    }
}

} // namespace corvane::dialect
