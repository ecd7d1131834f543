#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

namespace corvane {

// Where the daily copies of a Data.mde live and what they are called: Data-YYYY-MM-DD.mde in
// the folder "backup" beside the database.

// The folder beside the database that holds its daily copies.
QString backupFolder(const QString &databasePath);

// The name of the copy of that day.
QString dailyBackupName(const QDate &day);

// The daily copies in the folder, newest first by the date in the name; a date after today was
// written by a clock that was wrong then, and counts as the oldest, so that it neither stays
// "the newest backup" for ever nor keeps the real ones from being kept. Other files are not
// ours.
QStringList dailyBackupsNewestFirst(const QString &folder, const QDate &today);

// The path of the newest daily copy of the database, or an empty string when there is none.
// A copy dated after today is the newest only when there is no other.
QString newestBackup(const QString &databasePath, const QDate &today = QDate::currentDate());

} // namespace corvane
