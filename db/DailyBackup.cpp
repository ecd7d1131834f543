#include "DailyBackup.h"
#include "BackupFolder.h"

#include "Database.h"
#include "DatabaseBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvane {
namespace {

Failure failed(const QString &path, const Failure &reason)
{
    return reason.after(QStringLiteral("Data.mde のバックアップを作成できませんでした（作業は続けられます）。\n%1")
                            .arg(QDir::toNativeSeparators(path)));
}

} // namespace

Outcome takeDailyBackup(Database &db, const QDate &today)
{
    if (db.server())
        return {}; // a shared server is backed up where it runs (pg_dump), not by each PC
    const QString folder = backupFolder(db.path());
    const QString target = QDir(folder).filePath(dailyBackupName(today));
    if (QFileInfo::exists(target))
        return {};
    if (!QDir().mkpath(folder))
        return failed(folder, {QStringLiteral("フォルダを作成できません。"), {}});
    // Copied under a temporary name and renamed once whole, so a failure or a crash never
    // leaves a partial copy that looks like a backup.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    QFile::remove(partial + QStringLiteral("-journal"));
    const Outcome copied = copyDatabaseFile(db, partial);
    if (!copied || !QFile::rename(partial, target)) {
        QFile::remove(partial);
        if (copied && QFileInfo::exists(target))
            return {}; // another copy of the program, started at the same moment, made it
        return failed(target, copied ? Failure{QStringLiteral("名前を変更できません。")} : copied.failure());
    }

    const QStringList backups = dailyBackupsNewestFirst(folder, today);
    for (qsizetype i = kKeptBackups; i < backups.size(); ++i)
        QFile::remove(QDir(folder).filePath(backups[i]));
    return {};
}

} // namespace corvane
