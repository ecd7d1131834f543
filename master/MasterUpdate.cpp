#include "MasterUpdate.h"
#include "Database.h"
#include "DatabaseBackup.h"
#include "DbError.h"
#include "MasterVersion.h"
#include "MasterWrite.h"
#include "ProgramMaster.h"
#include "SchemaUpgrade.h"
#include "SqlDialect.h"
#include "SqlRun.h"
#include "Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvane {
namespace {

const QString kFailed = QStringLiteral("物質マスタを更新できませんでした。これまでの物質マスタのまま続けます。\n");

RunResult failed(const QString &reason) { return {false, kFailed + reason, {}}; }

} // namespace

QString storedMasterVersion(Database &db)
{
    if (!dialect::tableExists(db, QStringLiteral("MasterVersion")))
        return {};
    QSqlQuery version = runSql(db, QStringLiteral("SELECT Version FROM MasterVersion"));
    return version.next() ? version.value(0).toString() : QString();
}

RunResult updateMaster(Database &db, const ProgramMaster &master, const QDateTime &now)
{
    QString backup;
    try {
        const QString stored = storedMasterVersion(db);
        if (!stored.isEmpty() && !isMasterVersion(stored))
            return failed(QStringLiteral("データベースに記録された物質マスタの版「%1」が読めません。").arg(stored));
        const int order = compareMasterVersions(stored, master.version);
        if (order > 0)
            return {true, {}, {QStringLiteral("データベースの物質マスタ（版 %1）はこのプログラムの物質マスタ（版 %2）より新しいため、そのまま使います。")
                                   .arg(stored, master.version)}};
        if (order == 0)
            return {};

        std::optional<Transaction> transaction;
        if (db.server()) {
            // Several PCs may start at once: the first updates, the others wait here and
            // then find the new version.
            transaction.emplace(db);
            dialect::lockMasterUpdate(db);
        } else {
            backup = backupPathFor(db.path(), stored, now.toString(QStringLiteral("yyyyMMdd-HHmmss")));
            if (const auto problem = backupAndBeginWrite(db, backup, transaction)) {
                backup.clear();
                return failed(*problem);
            }
        }
        // Another program may have updated the master before this one held the lock.
        if (compareMasterVersions(storedMasterVersion(db), master.version) >= 0) {
            transaction.reset();
            discardBackup(backup);
            return {};
        }
        const QStringList added = db.server() ? addMissingServerSchema(db, master.serverSchema)
                                              : addMissingSchema(db, master.schema);
        if (added.contains(QStringLiteral("表示物質.MasterNo")))
            runSql(db, QStringLiteral("UPDATE 表示物質 SET MasterNo = ID")); // every older row came from the master
        const MasterChanges changes = writeProgramMaster(db, master);
        transaction->commit();

        RunResult result;
        result.notices << QStringLiteral("物質マスタを版 %1 から版 %2 に更新しました。").arg(displayedVersion(stored), master.version)
                       << QStringLiteral("追加した物質: %1件").arg(changes.added)
                       << QStringLiteral("変更した物質: %1件").arg(changes.changed);
        if (changes.userOwned > 0)
            result.notices << QStringLiteral("利用者が修正した物質: %1件（更新せずにそのまま残しました）").arg(changes.userOwned);
        if (changes.newerList > 0)
            result.notices << QStringLiteral("このプログラムより新しい政府の一覧で更新済みの物質: %1件（そのまま残しました）").arg(changes.newerList);
        if (!backup.isEmpty()) {
            result.notices << QStringLiteral("更新前のデータベースの控え: %1").arg(QDir::toNativeSeparators(backup));
            pruneWriteBackups(QFileInfo(backup).absolutePath(), now);
        }
        return result;
    } catch (const std::exception &error) {
        if (!backup.isEmpty())
            discardBackup(backup); // the database is as it was, so the copy is not needed
        return failed(QString::fromStdString(error.what()));
    }
}

RunResult updateMasterAtStartUp(Database &db)
{
    // Reading and checking the whole master took a tenth of a second; when the database
    // already holds this program's version there is nothing to do, so compare first.
    try {
        QFile file(QStringLiteral(":/master/VERSION"));
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : file.readAll().split('\n'))
                if (const QString version = QString::fromUtf8(line).trimmed(); !version.isEmpty() && !version.startsWith(u'#')) {
                    if (isMasterVersion(version) && storedMasterVersion(db) == version)
                        return {};
                    break;
                }
        }
    } catch (const std::exception &) {
        // the full update below reports what is wrong
    }
    QString error;
    const auto master = programMaster(&error);
    if (!master)
        return failed(error);
    return updateMaster(db, *master, QDateTime::currentDateTime());
}

QString masterUpdateMessage(const RunResult &result)
{
    QStringList lines = result.notices;
    if (!result.ok)
        lines << result.error;
    return lines.join(QLatin1Char('\n'));
}

} // namespace corvane
