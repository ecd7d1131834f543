#include "DatabaseBackup.h"
#include "Database.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace corvane {
namespace {

std::vector<std::pair<QString, qint64>> rowCounts(QSqlDatabase &db, QString *error)
{
    std::vector<std::pair<QString, qint64>> counts;
    QSqlQuery tables(db);
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"))) {
        *error = tables.lastError().text();
        return counts;
    }
    while (tables.next()) {
        const QString table = tables.value(0).toString();
        QSqlQuery count(db);
        if (!count.exec(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(QString(table).replace(QLatin1Char('"'), QStringLiteral("\"\"")))) || !count.next()) {
            *error = count.lastError().text();
            return counts;
        }
        counts.emplace_back(table, count.value(0).toLongLong());
    }
    return counts;
}

// Why the copy cannot be trusted, or nothing when it can.
std::optional<QString> checkCopy(Database &original, const QString &copy)
{
    static QAtomicInt counter;
    const QString connection = QStringLiteral("corvane-backup-check-%1").arg(counter.fetchAndAddRelaxed(1));
    std::optional<QString> problem;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(copy);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QString error;
        if (!db.open()) {
            problem = db.lastError().text();
        } else {
            QSqlQuery integrity(db);
            if (!integrity.exec(QStringLiteral("PRAGMA integrity_check")) || !integrity.next())
                problem = integrity.lastError().text();
            else if (integrity.value(0).toString() != QLatin1String("ok"))
                problem = integrity.value(0).toString();
            else if (rowCounts(db, &error) != rowCounts(original.sql(), &error) || !error.isEmpty())
                problem = error.isEmpty() ? QStringLiteral("行の数が元のファイルと違います。") : error;
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return problem;
}

} // namespace

QString backupPathFor(const QString &databasePath, const QString &version, const QString &dateTime)
{
    const QDir folder(QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backup")));
    const QString stem = QStringLiteral("Data-%1-%2").arg(version.isEmpty() ? QStringLiteral("first-release") : version, dateTime);
    QString path = folder.filePath(stem + QStringLiteral(".mde"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QStringLiteral("%1-%2.mde").arg(stem).arg(n));
    return path;
}

void discardBackup(const QString &backup)
{
    if (backup.isEmpty())
        return;
    QFile::remove(backup);
    QDir().rmdir(QFileInfo(backup).absolutePath()); // only when empty
}

std::optional<QString> backupDatabase(Database &db, const QString &target)
{
    const QString shown = QDir::toNativeSeparators(target);
    // In WAL mode the newest rows may live in Data.mde-wal, which a copy of Data.mde misses.
    QSqlQuery mode(db.sql());
    if (!mode.exec(QStringLiteral("PRAGMA journal_mode")) || !mode.next())
        return mode.lastError().text();
    if (mode.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Data.mde が WAL モードのため、控えを一つのファイルに取れません。");
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return QStringLiteral("控えのフォルダを作成できません: %1").arg(QDir::toNativeSeparators(QFileInfo(target).absolutePath()));
    if (!QFile::copy(db.path(), target)) {
        discardBackup(target);
        return QStringLiteral("データベースの控えを書き込めません（ディスクの空きや書き込みの権限を確かめてください）: %1").arg(shown);
    }
    if (const auto problem = checkCopy(db, target)) {
        discardBackup(target);
        return QStringLiteral("データベースの控えが元のファイルと一致しません: %1\n%2").arg(shown, *problem);
    }
    return std::nullopt;
}

} // namespace corvane
