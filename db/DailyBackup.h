#pragma once
#include "BackupFolder.h"
#include "Outcome.h"

#include <QDate>
#include <QString>

namespace corvane {

class Database;

// How many daily copies the backup folder keeps.
constexpr int kKeptBackups = 14;

// On the first call of a day, copies the open database into the backup folder as
// Data-YYYY-MM-DD.mde with SQLite's online backup, so the copy is whole even while another
// program writes, and keeps only the newest kKeptBackups copies (one dated after today, by a
// clock that was wrong, counts as the oldest). Later calls that day do
// nothing. A copy that cannot be made leaves no file behind; its failure names the file. A
// database on a server is left to the server's own backups.
Outcome takeDailyBackup(Database &db, const QDate &today = QDate::currentDate());

} // namespace corvane
