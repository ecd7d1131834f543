#pragma once
#include <QDate>
#include <QString>

namespace corvane {

class Database;

struct BackupResult {
    bool ok = true;
    QString message; // Japanese, naming the file; empty when ok
};

// How many daily copies the backup folder keeps.
constexpr int kKeptBackups = 14;

// The folder beside the database that holds its daily copies.
QString backupFolder(const QString &databasePath);

// On the first call of a day, copies the open database into the backup folder as
// Data-YYYY-MM-DD.mde with SQLite's online backup, so the copy is whole even while another
// program writes, and keeps only the newest kKeptBackups copies (one dated after today, by a
// clock that was wrong, counts as the oldest). Later calls that day do
// nothing. A copy that cannot be made leaves no file behind and is reported in the result.
// A database on a server is left to the server's own backups.
BackupResult takeDailyBackup(Database &db, const QDate &today = QDate::currentDate());

// The path of the newest daily copy of the database, or an empty string when there is none.
// A copy dated after today is the newest only when there is no other.
QString newestBackup(const QString &databasePath, const QDate &today = QDate::currentDate());

} // namespace corvane
