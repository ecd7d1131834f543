#pragma once
#include <QString>

#include <optional>

namespace corvane {

class Database;

// Copies the open database to `target` (its folder created when missing) and checks the
// copy: the engine finds it intact and every table holds as many rows as in the original.
// Call it inside a write transaction that has changed nothing yet, so no other program can
// write while the file is copied. Returns the error (Japanese) or nothing; a copy that
// fails its check is removed.
std::optional<QString> backupDatabase(Database &db, const QString &target);

// Removes a backup that is not needed (the database was left as it was), and the backup
// folder when that leaves it empty.
void discardBackup(const QString &backup);

// Data/backup/Data-<version>-<date time>.mde beside the database: a name not yet taken.
QString backupPathFor(const QString &databasePath, const QString &version, const QString &dateTime);

} // namespace corvane
