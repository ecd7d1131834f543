#include "DailyBackup.h"

#include "Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QThread>

#include <sqlite3.h>

namespace corvane {
namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

QString backupName(const QDate &day)
{
    return QStringLiteral("Data-%1.mde").arg(day.toString(kDateFormat));
}

// The daily copies, newest first (the date in the name sorts as text); other files are not ours.
QStringList backupsNewestFirst(const QString &folder)
{
    QStringList backups;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("Data-*.mde")}, QDir::Files,
                                                      QDir::Name | QDir::Reversed))
        if (name.size() == 19 && QDate::fromString(name.mid(5, 10), kDateFormat).isValid())
            backups << name;
    return backups;
}

sqlite3 *handleOf(Database &db)
{
    const QVariant handle = db.sql().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

// Copies source page by page into a new database file at target; returns SQLite's error
// text, or an empty string when the copy is whole.
QString copyDatabase(sqlite3 *source, const QString &target)
{
    sqlite3 *copy = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(target).constData(), &copy,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup *backup = sqlite3_backup_init(copy, "main", source, "main");
        if (!backup) {
            rc = sqlite3_errcode(copy);
        } else {
            // Steps of 256 pages; a step that finds another program writing is tried again
            // (for ten seconds at most), and the copy restarts from a consistent state.
            int waits = 0;
            do {
                rc = sqlite3_backup_step(backup, 256);
                if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && ++waits < 500) {
                    QThread::msleep(20);
                    rc = SQLITE_OK;
                }
            } while (rc == SQLITE_OK);
            const int finished = sqlite3_backup_finish(backup);
            rc = rc == SQLITE_DONE ? finished : rc;
        }
    }
    const int closed = sqlite3_close(copy);
    if (rc == SQLITE_OK)
        rc = closed;
    return rc == SQLITE_OK ? QString() : QString::fromUtf8(sqlite3_errstr(rc));
}

BackupResult failed(const QString &path, const QString &reason)
{
    return {false, QStringLiteral("Data.mde のバックアップを作成できませんでした（作業は続けられます）。\n%1\n%2")
                       .arg(QDir::toNativeSeparators(path), reason)};
}

} // namespace

QString backupFolder(const QString &databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backup"));
}

BackupResult takeDailyBackup(Database &db, const QDate &today)
{
    if (db.server())
        return {}; // a shared server is backed up where it runs (pg_dump), not by each PC
    const QString folder = backupFolder(db.path());
    const QString target = QDir(folder).filePath(backupName(today));
    if (QFileInfo::exists(target))
        return {};
    if (!QDir().mkpath(folder))
        return failed(folder, QStringLiteral("フォルダを作成できません。"));
    sqlite3 *source = handleOf(db);
    if (!source)
        return failed(target, QStringLiteral("データベースに接続できません。"));

    // Copied under a temporary name and renamed once whole, so a failure or a crash never
    // leaves a partial copy that looks like a backup.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    QFile::remove(partial + QStringLiteral("-journal"));
    const QString error = copyDatabase(source, partial);
    if (!error.isEmpty() || !QFile::rename(partial, target)) {
        QFile::remove(partial);
        QFile::remove(partial + QStringLiteral("-journal"));
        if (error.isEmpty() && QFileInfo::exists(target))
            return {}; // another copy of the program, started at the same moment, made it
        return failed(target, error.isEmpty() ? QStringLiteral("名前を変更できません。") : error);
    }

    const QStringList backups = backupsNewestFirst(folder);
    for (qsizetype i = kKeptBackups; i < backups.size(); ++i)
        QFile::remove(QDir(folder).filePath(backups[i]));
    return {};
}

QString newestBackup(const QString &databasePath)
{
    const QString folder = backupFolder(databasePath);
    const QStringList backups = backupsNewestFirst(folder);
    return backups.isEmpty() ? QString() : QDir(folder).filePath(backups.first());
}

} // namespace corvane
