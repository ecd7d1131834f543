#pragma once
#include "Outcome.h"
#include "Transaction.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvane {

class Database;

// The steps that the embedded file and the server take differently and that run statements
// of their own (SqlDialect.h has the statements and failures they build on).
namespace dialect {

// Inside a write transaction: no other PC writes the table until it ends (on the file the
// transaction holds the whole file already).
void lockTable(Database &db, const QString &table);

// Inside a write transaction: one PC at a time updates the substance master.
void lockMasterUpdate(Database &db);

// Begins a long write of the substance master (an update, an import). On the file: takes the
// write lock and copies the file, as it is, to Data/backup/ (named after `storedVersion` and
// `now`), and sets `backup` to the copy's path; a copy that cannot be made or checked is the
// failure, with no transaction open and no copy left. On a server, which keeps its own
// backups: begins the transaction and takes the lock of lockMasterUpdate. Throws DbError when
// the transaction or the lock cannot be had.
Outcome beginMasterWrite(Database &db, const QString &storedVersion, const QDateTime &now,
                         std::optional<Transaction> &transaction, QString &backup);

// Inside a write transaction: adds the tables, columns and indexes of the program's schema
// that the database lacks, from `schema` (schema.sql) on the file and `serverSchema`
// (schema-postgresql.sql) on a server. Returns the columns added, as "table.column".
QStringList addMissingSchema(Database &db, const QString &schema, const QString &serverSchema);

// At start-up: when the database lacks tables or columns of the program's schema (a database
// of an earlier release), adds them in a transaction of its own, one PC at a time.
Outcome upgradeSchema(Database &db, const QString &schema, const QString &serverSchema);

} // namespace dialect
} // namespace corvane
