#include "MasterUpdate.h"
#include "Database.h"
#include "DatabaseBackup.h"
#include "DbError.h"
#include "DialectSteps.h"
#include "MasterVersion.h"
#include "MasterWrite.h"
#include "ProgramMaster.h"
#include "SchemaLookup.h"
#include "SqlRun.h"
#include "Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvane {
namespace {

const QString kFailed = QStringLiteral("物質マスタを更新できませんでした。これまでの物質マスタのまま続けます。");

RunResult failed(const Failure &reason) { return {reason.after(kFailed), {}}; }

QString resourceText(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Whether the database holds the master compiled into this program. Reading and checking the
// whole master takes a tenth of a second, so the versions are compared first.
bool holdsProgramVersion(Database &db)
{
    try {
        for (const QString &line : resourceText(QStringLiteral(":/master/VERSION")).split(QLatin1Char('\n')))
            if (const QString version = line.trimmed(); !version.isEmpty() && !version.startsWith(u'#'))
                return isMasterVersion(version) && storedMasterVersion(db) == version;
    } catch (const DbError &) {
        // the full update reports what is wrong
    }
    return false;
}

} // namespace

QString storedMasterVersion(Database &db)
{
    if (!tableExists(db, QStringLiteral("MasterVersion")))
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
            return failed({QStringLiteral("データベースに記録された物質マスタの版「%1」が読めません。").arg(stored)});
        const int order = compareMasterVersions(stored, master.version);
        if (order > 0)
            return {
                {},
                {QStringLiteral(
                     "データベースの物質マスタ（版 %1）はこのプログラムの物質マスタ（版 %2）より新しいため、そのまま使います。")
                     .arg(stored, master.version)}};
        if (order == 0)
            return {};

        // Several PCs may start at once: the first updates, the others wait here and then
        // find the new version.
        std::optional<Transaction> transaction;
        if (const Outcome begun = dialect::beginMasterWrite(db, stored, now, transaction, backup); !begun)
            return failed(begun.failure());
        // Another program may have updated the master before this one held the lock.
        if (compareMasterVersions(storedMasterVersion(db), master.version) >= 0) {
            transaction.reset();
            discardBackup(backup);
            return {};
        }
        const QStringList added = dialect::addMissingSchema(db, master.schema, master.serverSchema);
        if (added.contains(QStringLiteral("表示物質.MasterNo")))
            runSql(db, QStringLiteral("UPDATE 表示物質 SET MasterNo = ID")); // every older row came from the master
        const MasterChanges changes = writeProgramMaster(db, master);
        transaction->commit();

        RunResult result;
        result.notices << QStringLiteral("物質マスタを版 %1 から版 %2 に更新しました。")
                              .arg(displayedVersion(stored), master.version)
                       << QStringLiteral("追加した物質: %1件").arg(changes.added)
                       << QStringLiteral("変更した物質: %1件").arg(changes.changed);
        if (changes.userOwned > 0)
            result.notices
                << QStringLiteral("利用者が修正した物質: %1件（更新せずにそのまま残しました）").arg(changes.userOwned);
        if (changes.newerList > 0)
            result.notices << QStringLiteral(
                                  "このプログラムより新しい政府の一覧で更新済みの物質: %1件（そのまま残しました）")
                                  .arg(changes.newerList);
        if (!backup.isEmpty()) {
            result.notices << QStringLiteral("更新前のデータベースの控え: %1").arg(QDir::toNativeSeparators(backup));
            pruneWriteBackups(QFileInfo(backup).absolutePath(), now);
        }
        return result;
    } catch (const std::exception &error) {
        if (!backup.isEmpty())
            discardBackup(backup); // the database is as it was, so the copy is not needed
        return failed(failureOf(error));
    }
}

RunResult updateMasterAtStartUp(Database &db)
{
    RunResult result;
    if (!holdsProgramVersion(db)) {
        const auto master = programMaster();
        if (!master)
            return failed(master.failure());
        result = updateMaster(db, *master, QDateTime::currentDateTime());
        if (!result.outcome)
            return result; // the next start tries again, columns and all
    }
    // A database whose master needed no update may still be of an earlier release, without
    // columns that saves use (a product's Revision).
    if (const Outcome upgraded = dialect::upgradeSchema(db, resourceText(QStringLiteral(":/schema.sql")),
                                                        resourceText(QStringLiteral(":/schema-postgresql.sql")));
        !upgraded)
        result.outcome = upgraded.failure().after(
            QStringLiteral("データベースの表に列を加えられませんでした。製品と会社情報の保存はできません。"));
    return result;
}

QString masterUpdateMessage(const RunResult &result)
{
    QStringList lines = result.notices;
    if (!result.outcome)
        lines << result.outcome.errorText();
    return lines.join(QLatin1Char('\n'));
}

} // namespace corvane
