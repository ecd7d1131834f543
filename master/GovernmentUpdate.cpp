#include "GovernmentUpdate.h"
#include "Database.h"
#include "DbError.h"
#include "DatabaseBackup.h"
#include "DialectSteps.h"
#include "GovernmentMaster.h"
#include "LegalList.h"
#include "MasterRows.h"
#include "MasterUpdate.h"
#include "NiteList.h"
#include "ProgramMaster.h"
#include "SqlRun.h"
#include "SubstanceClassification.h"
#include "Transaction.h"
#include "UserMaster.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace corvane {
namespace {

RunResult refused(const Failure &why) { return {Failure{why.text() + QStringLiteral("\n何も変えていません。")}, {}}; }

QString describe(const std::vector<ghs::ClassEntry> &entries, ghs::HazardClass hazardClass)
{
    QStringList items;
    for (const ghs::ClassEntry &e : entries)
        if (e.hazardClass == hazardClass && e.category != kUnclassifiableCategory)
            items << QStringLiteral("区分%1").arg(e.category)
                         + (e.organs.isEmpty() ? QString()
                                               : QStringLiteral("（%1）").arg(e.organs.join(QStringLiteral("、"))));
    return items.isEmpty() ? QStringLiteral("なし") : items.join(QStringLiteral("、"));
}

// The classes whose category or organs differ, "発がん性: 区分2 → 区分1B".
QStringList changedClasses(const std::vector<ghs::ClassEntry> &before, const std::vector<ghs::ClassEntry> &after)
{
    QStringList lines;
    for (ghs::HazardClass c : ghs::allHazardClasses()) {
        const QString old = describe(before, c);
        const QString now = describe(after, c);
        if (old != now)
            lines << QStringLiteral("    %1: %2 → %3").arg(ghs::hazardClassName(c), old, now);
    }
    return lines;
}

} // namespace

RunResult updateFromGovernment(Database &db, const ProgramMaster &master, const QString &niteFile,
                               const QStringList &legalFiles, bool apply, const QDateTime &now)
{
    const auto nite = ghs::readNiteList(niteFile);
    if (!nite)
        return refused(nite.failure());
    ghs::LegalList legal;
    if (!legalFiles.isEmpty()) {
        const auto read = ghs::readLegalLists(legalFiles);
        if (!read)
            return refused(read.failure());
        legal = *read;
    }
    QString backup;
    try {
        // Applying holds the write lock from the first read: what is shown is what is written.
        std::optional<Transaction> transaction;
        if (apply)
            if (const Outcome begun = dialect::beginMasterWrite(db, storedMasterVersion(db), now, transaction, backup);
                !begun)
                return refused(begun.failure());
        const auto giveUp = [&](const RunResult &result) {
            transaction.reset();
            discardBackup(backup);
            backup.clear();
            return result;
        };
        // The master as stored, with whose each row is.
        const Result<QString> exported = exportMaster(db);
        if (!exported)
            return giveUp({exported.failure(), {}});
        const MasterSourceResult current =
            readMasterSource(master.hazardText, QStringLiteral("hazard_statements.tsv"), master.precautionText,
                             QStringLiteral("precautionary_statements.tsv"), *exported, QStringLiteral("Data.mde"));
        if (!current.errors.empty())
            return giveUp(refused({QStringLiteral("データベースの物質マスタが規則に合わないため、更新できません。\n")
                                   + describeMasterErrors(current.errors)}));
        QSet<int> userRows;
        for (QSqlQuery query = runSql(db, QStringLiteral("SELECT ID FROM 表示物質 WHERE UserOwned <> 0"));
             query.next();)
            userRows.insert(query.value(0).toInt());

        // An older list than the master's would undo a newer classification.
        QString newest;
        for (const ComposedSubstance &row : current.substances)
            if (row.sourceKind == SourceKind::Nite && !userRows.contains(row.id))
                newest = std::max(newest, row.sourceVersion);
        const QString version = nite->saved.toString(Qt::ISODate);
        if (!newest.isEmpty() && version < newest)
            return giveUp(refused(
                {QStringLiteral(
                     "%1 は %2 に保存された一覧で、データベースの物質マスタが使っている一覧（%3）より古いため、使えません。")
                     .arg(QDir::toNativeSeparators(niteFile), version, newest)}));

        auto built = buildGovernmentMaster(*nite, legal, current.substances, master.hazardText, master.precautionText);
        if (!built)
            return giveUp(refused(built.failure()));
        QHash<int, const ComposedSubstance *> before;
        for (const ComposedSubstance &row : current.substances)
            before.insert(row.id, &row);
        // Without MHLW's lists the legal columns stay as they are.
        if (legalFiles.isEmpty())
            for (ComposedSubstance &row : built->substances)
                if (const ComposedSubstance *old = before.value(row.id)) {
                    row.legalName = old->legalName;
                    row.legalSince = old->legalSince;
                    row.labelCutoff = old->labelCutoff;
                    row.sdsCutoff = old->sdsCutoff;
                    row.legalNote = old->legalNote;
                }
        QHash<int, std::vector<ghs::ClassEntry>> newClassification;
        std::vector<ClassificationRow> rowsToWrite;
        const auto builtClassifications = readClassificationsText(built->classificationsText, QString());
        if (!builtClassifications)
            return giveUp(refused(builtClassifications.failure()));
        for (const ClassificationRow &row : *builtClassifications) {
            newClassification[row.substanceId].push_back(row.entry);
            if (!userRows.contains(row.substanceId))
                rowsToWrite.push_back(row);
        }

        QStringList added, changed, notListed, leftAlone;
        std::vector<const ComposedSubstance *> toWrite;
        QSet<QString> newIds;
        for (const ComposedSubstance &row : built->substances)
            if (row.sourceKind == SourceKind::Nite)
                newIds.insert(row.sourceId);
        for (const ComposedSubstance &row : built->substances) {
            const ComposedSubstance *old = before.value(row.id);
            if (userRows.contains(row.id)) {
                if (row.sourceKind == SourceKind::Nite && old && substanceSourceLine(*old) != substanceSourceLine(row))
                    leftAlone << QStringLiteral("  %1 %2").arg(row.id).arg(old->name);
                continue;
            }
            if (!old) {
                added << QStringLiteral("  %1 %2（%3）").arg(row.id).arg(row.name, row.cas);
                toWrite.push_back(&row);
                continue;
            }
            if (substanceSourceLine(*old) == substanceSourceLine(row))
                continue;
            toWrite.push_back(&row);
            QStringList lines{QStringLiteral("  %1 %2").arg(row.id).arg(row.name)};
            lines << changedClasses(catalogue::classification(db, row.id), newClassification.value(row.id));
            if (old->name != row.name)
                lines << QStringLiteral("    名称: %1 → %2").arg(old->name, row.name);
            if (old->hazardCodes != row.hazardCodes)
                lines << QStringLiteral("    危険有害性情報: %1 → %2")
                             .arg(old->hazardCodes.join(QLatin1Char(',')), row.hazardCodes.join(QLatin1Char(',')));
            if (old->labelCutoff != row.labelCutoff || old->legalSince != row.legalSince)
                lines << QStringLiteral("    法令: %1 %2 → %3 %4")
                             .arg(old->legalSince, old->labelCutoff, row.legalSince, row.labelCutoff);
            changed << lines;
        }
        for (const ComposedSubstance &row : current.substances)
            if (row.sourceKind == SourceKind::Nite && !newIds.contains(row.sourceId) && !userRows.contains(row.id))
                notListed << QStringLiteral("  %1 %2（%3）").arg(row.id).arg(row.name, row.sourceId);

        RunResult result;
        result.notices << QStringLiteral("NITE 統合版 GHS 分類結果（%1 保存）%2")
                              .arg(version, legalFiles.isEmpty() ? QStringLiteral("")
                                                                 : QStringLiteral("と厚生労働省の義務対象物質一覧"));
        result.notices << QStringLiteral("追加する物質: %1件").arg(added.size()) << added;
        result.notices << QStringLiteral("変わる物質: %1件")
                              .arg(
                                  std::count_if(changed.begin(), changed.end(),
                                                [](const QString &l) { return !l.startsWith(QStringLiteral("    ")); }))
                       << changed;
        result.notices << QStringLiteral("一覧になくなった物質: %1件（そのまま残します）").arg(notListed.size())
                       << notListed;
        if (!userRows.isEmpty())
            result.notices << QStringLiteral("利用者の物質: %1件（更新しません。うち一覧の分類と違うもの %2件）")
                                  .arg(userRows.size())
                                  .arg(leftAlone.size())
                           << leftAlone;
        if (!apply) {
            result.notices << QStringLiteral("これは確認です。反映するには --apply を付けて実行してください。");
            return result;
        }
        if (toWrite.empty()) {
            result.notices << QStringLiteral("変わるものがないため、何も書き込みませんでした。");
            return giveUp(result);
        }

        std::vector<int> writtenIds;
        for (const ComposedSubstance *row : toWrite) {
            const auto origin = storedOrigin(db, row->id);
            // A row of the program's master keeps its master number; a substance the list adds
            // has none until a program's master brings it (matched then by its NITE ID).
            putSubstance(db, row->id, *row, RowOrigin{false, origin ? origin->masterNo : QVariant()});
            writtenIds.push_back(row->id);
        }
        const QSet<int> written(writtenIds.begin(), writtenIds.end());
        std::vector<ClassificationRow> classifications;
        for (const ClassificationRow &row : rowsToWrite)
            if (written.contains(row.substanceId))
                classifications.push_back(row);
        replaceClassifications(db, writtenIds, classifications);
        rewriteAllTargetsList(db);
        transaction->commit();
        result.notices << QStringLiteral("反映しました（%1件）。").arg(toWrite.size());
        if (!backup.isEmpty()) {
            result.notices << QStringLiteral("更新前のデータベースの控え: %1").arg(QDir::toNativeSeparators(backup));
            pruneWriteBackups(QFileInfo(backup).absolutePath(), now);
        }
        return result;
    } catch (const std::exception &failure) {
        if (!backup.isEmpty())
            discardBackup(backup);
        return {failureOf(failure).after(QStringLiteral("更新できませんでした。データベースは元のままです。")), {}};
    }
}

} // namespace corvane
