#pragma once
#include "Outcome.h"
#include "Transaction.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace corvane {

class Database;

// Copies the open database file to `target` (a new file) with SQLite's online backup, read
// through a second connection of SQLite's own, which never drops a lock that the database's
// connection holds: the copy can be taken inside the caller's write transaction. The copy is
// whole even in WAL mode and is left in rollback-journal mode, one file that opens by itself.
// A failed copy leaves no file.
Outcome copyDatabaseFile(Database &db, const QString &target);

// Before a long write to the file (a master update, an import): opens `transaction`, which
// takes the write lock, and copies the database to `target` while holding it, so the copy is
// exactly what the write starts from. The copy is checked: the engine finds it intact and
// every table holds as many rows as the database. On a failure no transaction is open and no
// copy is left; the transaction's own failure to begin is thrown (DbError).
Outcome backupAndBeginWrite(Database &db, const QString &target, std::optional<Transaction> &transaction);

// Removes a backup that is not needed (the database was left as it was), and the backup
// folder when that leaves it empty.
void discardBackup(const QString &backup);

// Data/backup/Data-<version>-<date time>.mde beside the database: a name not yet taken.
QString backupPathFor(const QString &databasePath, const QString &version, const QString &dateTime);

// How many copies taken before master updates and imports a backup folder keeps, besides
// the daily ones.
constexpr int kKeptWriteBackups = 10;

// Keeps the newest kKeptWriteBackups copies taken before master updates and imports, and
// the newest copy of each master version besides (a version's only copy is never removed).
// A copy named with a time after `now` was taken while the clock was wrong and counts as
// the oldest, so it cannot stay "the newest" for ever.
void pruneWriteBackups(const QString &backupFolder, const QDateTime &now);

} // namespace corvane
