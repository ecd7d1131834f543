#include "DailyBackup.h"

#include "Database.h"
#include "DatabaseBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvane {
namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

QString backupName(const QDate &day)
{
    return QStringLiteral("Data-%1.mde").arg(day.toString(kDateFormat));
}

// The daily copies, newest first by the date in the name; a date after today was written
// by a clock that was wrong then, and counts as the oldest, so that it neither stays "the
// newest backup" for ever nor keeps the real ones from being kept. Other files are not ours.
QStringList backupsNewestFirst(const QString &folder, const QDate &today)
{
    QStringList backups, future;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("Data-*.mde")}, QDir::Files,
                                                      QDir::Name | QDir::Reversed)) {
        const QDate day = QDate::fromString(name.mid(5, 10), kDateFormat);
        if (name.size() == 19 && day.isValid())
            (day > today ? future : backups) << name;
    }
    return backups + future;
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
    // Copied under a temporary name and renamed once whole, so a failure or a crash never
    // leaves a partial copy that looks like a backup.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    QFile::remove(partial + QStringLiteral("-journal"));
    const auto error = copyDatabaseFile(db, partial);
    if (error || !QFile::rename(partial, target)) {
        QFile::remove(partial);
        if (!error && QFileInfo::exists(target))
            return {}; // another copy of the program, started at the same moment, made it
        return failed(target, error ? *error : QStringLiteral("名前を変更できません。"));
    }

    const QStringList backups = backupsNewestFirst(folder, today);
    for (qsizetype i = kKeptBackups; i < backups.size(); ++i)
        QFile::remove(QDir(folder).filePath(backups[i]));
    return {};
}

QString newestBackup(const QString &databasePath, const QDate &today)
{
    const QString folder = backupFolder(databasePath);
    const QStringList backups = backupsNewestFirst(folder, today);
    return backups.isEmpty() ? QString() : QDir(folder).filePath(backups.first());
}

} // namespace corvane
