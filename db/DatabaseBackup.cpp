#include "DatabaseBackup.h"
#include "Database.h"
#include "SqlFailure.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <map>
#include <tuple>

namespace corvane {
namespace {

Failure engineFailure(int code)
{
    return sqlFailure(
        QSqlError(QString(), QString::fromUtf8(sqlite3_errstr(code)), QSqlError::UnknownError, QString::number(code)));
}

using RowCounts = std::vector<std::pair<QString, qint64>>;

// The rows of each table of the file, by the table's name.
Result<RowCounts> rowCounts(QSqlDatabase &db)
{
    RowCounts counts;
    QSqlQuery tables(db);
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")))
        return sqlFailure(tables.lastError());
    while (tables.next()) {
        const QString table = tables.value(0).toString();
        QSqlQuery count(db);
        if (!count.exec(QStringLiteral("SELECT COUNT(*) FROM \"%1\"")
                            .arg(QString(table).replace(QLatin1Char('"'), QStringLiteral("\"\""))))
            || !count.next())
            return sqlFailure(count.lastError());
        counts.emplace_back(table, count.value(0).toLongLong());
    }
    return counts;
}

// Whether the copy can be trusted: the engine finds it intact and every table holds as many
// rows as in the original.
Outcome checkCopyOf(Database &original, QSqlDatabase &db)
{
    QSqlQuery integrity(db);
    if (!integrity.exec(QStringLiteral("PRAGMA integrity_check")) || !integrity.next())
        return sqlFailure(integrity.lastError());
    if (integrity.value(0).toString() != QLatin1String("ok"))
        return Outcome::failed(QStringLiteral("控えが壊れています。"), integrity.value(0).toString());
    const Result<RowCounts> copied = rowCounts(db);
    if (!copied)
        return copied.failure();
    const Result<RowCounts> stored = rowCounts(original.sql());
    if (!stored)
        return stored.failure();
    if (*copied != *stored)
        return Outcome::failed(QStringLiteral("行の数が元のファイルと違います。"));
    return {};
}

// Opening the copy is a handle on another file, so the locks on the database stay as they are.
Outcome checkCopy(Database &original, const QString &copy)
{
    static QAtomicInt counter;
    const QString connection = QStringLiteral("corvane-backup-check-%1").arg(counter.fetchAndAddRelaxed(1));
    Outcome checked;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(copy);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        checked = db.open() ? checkCopyOf(original, db) : Outcome(sqlFailure(db.lastError()));
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return checked;
}

const QString kWriteBackupName = QStringLiteral(R"(^Data-(.+)-(\d{8}-\d{6})(?:-(\d+))?\.mde$)");

} // namespace

Outcome copyDatabaseFile(Database &db, const QString &target)
{
    // A connection of SQLite's own: its file system layer keeps every handle this process
    // has on the file together and closes none while one of them holds a lock, so the
    // caller's write lock stays (a plain file copy's close would drop it).
    sqlite3 *source = nullptr;
    sqlite3 *copy = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(db.path()).constData(), &source, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_busy_timeout(source, 10000);
    if (rc == SQLITE_OK)
        rc = sqlite3_open_v2(QFile::encodeName(target).constData(), &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup *backup = sqlite3_backup_init(copy, "main", source, "main");
        if (!backup) {
            rc = sqlite3_errcode(copy);
        } else {
            // All pages in one step under one read lock: a consistent copy however busy the
            // file; a writer in the middle of its commit makes the step wait.
            rc = sqlite3_backup_step(backup, -1);
            const int finished = sqlite3_backup_finish(backup);
            rc = rc == SQLITE_DONE ? finished : rc;
        }
        // A WAL database's header comes along; the copy is to be one file by itself.
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(copy, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr);
    }
    for (sqlite3 *connection : {copy, source})
        if (const int closed = sqlite3_close(connection); rc == SQLITE_OK)
            rc = closed;
    if (rc == SQLITE_OK)
        return {};
    QFile::remove(target);
    QFile::remove(target + QStringLiteral("-journal"));
    return engineFailure(rc);
}

Outcome backupAndBeginWrite(Database &db, const QString &target, std::optional<Transaction> &transaction)
{
    const QString shown = QDir::toNativeSeparators(target);
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return Outcome::failed(QStringLiteral("控えのフォルダを作成できません: %1")
                                   .arg(QDir::toNativeSeparators(QFileInfo(target).absolutePath())));
    // The write lock first: nobody else writes between the copy and the change.
    transaction.emplace(db);
    if (const Outcome copied = copyDatabaseFile(db, target); !copied) {
        transaction.reset();
        discardBackup(target);
        return copied.failure().after(
            QStringLiteral("データベースの控えを書き込めません（ディスクの空きや書き込みの権限を確かめてください）: %1")
                .arg(shown));
    }
    if (const Outcome checked = checkCopy(db, target); !checked) {
        transaction.reset();
        discardBackup(target);
        return checked.failure().after(QStringLiteral("データベースの控えが元のファイルと一致しません: %1").arg(shown));
    }
    return {};
}

QString backupPathFor(const QString &databasePath, const QString &version, const QString &dateTime)
{
    const QDir folder(QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backup")));
    const QString stem =
        QStringLiteral("Data-%1-%2").arg(version.isEmpty() ? QStringLiteral("first-release") : version, dateTime);
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

void pruneWriteBackups(const QString &backupFolder, const QDateTime &now)
{
    static const QRegularExpression pattern(kWriteBackupName);
    struct Copy {
        QString name, version;
    };
    // Newest first by the time in the name and the number of a second copy that second; a
    // time after now was written by a clock that was wrong then, and counts as the oldest.
    std::map<std::tuple<bool, QString, int>, Copy, std::greater<>> copies;
    const QString latest = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (const QString &name : QDir(backupFolder).entryList({QStringLiteral("Data-*.mde")}, QDir::Files)) {
        const auto match = pattern.match(name);
        if (!match.hasMatch())
            continue; // a daily copy, or not ours
        const QString stamp = match.captured(2);
        copies.emplace(std::make_tuple(stamp <= latest, stamp, match.captured(3).toInt()),
                       Copy{name, match.captured(1)});
    }
    QSet<QString> versionsKept;
    int kept = 0;
    for (const auto &[order, copy] : copies) {
        const bool onlyCopyKept = !versionsKept.contains(copy.version);
        if (kept < kKeptWriteBackups || onlyCopyKept) {
            ++kept;
            versionsKept.insert(copy.version);
        } else {
            QFile::remove(QDir(backupFolder).filePath(copy.name));
        }
    }
}

} // namespace corvane
