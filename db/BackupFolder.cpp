#include "BackupFolder.h"

#include <QDir>
#include <QFileInfo>

namespace corvane {
namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

} // namespace

QString dailyBackupName(const QDate &day) { return QStringLiteral("Data-%1.mde").arg(day.toString(kDateFormat)); }

QStringList dailyBackupsNewestFirst(const QString &folder, const QDate &today)
{
    QStringList backups, future;
    for (const QString &name :
         QDir(folder).entryList({QStringLiteral("Data-*.mde")}, QDir::Files, QDir::Name | QDir::Reversed)) {
        const QDate day = QDate::fromString(name.mid(5, 10), kDateFormat);
        if (name.size() == 19 && day.isValid())
            (day > today ? future : backups) << name;
    }
    return backups + future;
}

QString backupFolder(const QString &databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backup"));
}

QString newestBackup(const QString &databasePath, const QDate &today)
{
    const QString folder = backupFolder(databasePath);
    const QStringList backups = dailyBackupsNewestFirst(folder, today);
    return backups.isEmpty() ? QString() : QDir(folder).filePath(backups.first());
}

} // namespace corvane
