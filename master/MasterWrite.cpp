#include "MasterWrite.h"
#include "MasterRows.h"
#include "ProgramMaster.h"
#include "MasterSource.h"
#include "SqlRun.h"
#include "SubstanceClassification.h"

#include <QHash>

namespace corvane {

MasterChanges writeProgramMaster(Database &db, const ProgramMaster &master)
{
    QHash<int, int> rowOfMasterNo; // master number -> the row that holds it
    QSet<int> userRows;
    // Rows a newer government list brought in (corvane-master update-from): by NITE's ID, with
    // the date of the list they came from.
    QHash<QString, int> rowOfAddedId;
    QHash<int, QString> listDateOfRow;
    for (QSqlQuery query =
             runSql(db, QStringLiteral("SELECT ID, MasterNo, UserOwned, 出典, 出典ID, 出典版 FROM 表示物質"));
         query.next();) {
        const int id = query.value(0).toInt();
        if (!query.value(1).isNull())
            rowOfMasterNo.insert(query.value(1).toInt(), id);
        if (query.value(2).toInt() != 0)
            userRows.insert(id);
        else if (query.value(1).isNull() && query.value(3).toString() == sourceKindName(SourceKind::Nite))
            rowOfAddedId.insert(query.value(4).toString(), id);
        listDateOfRow.insert(id, query.value(5).toString());
    }

    MasterChanges changes;
    changes.userOwned = int(userRows.size());
    int next = highestSubstanceNumber(db) + 1;
    QHash<int, int> rowOfProgramNumber; // the program master's number -> the row written
    for (const ComposedSubstance &substance : master.substances) {
        const RowOrigin origin{false, substance.id};
        auto row = rowOfMasterNo.constFind(substance.id);
        int target = 0;
        if (row != rowOfMasterNo.cend()) {
            target = *row;
        } else if (substance.sourceKind == SourceKind::Nite && rowOfAddedId.contains(substance.sourceId)) {
            // The user's update brought this substance before the program did: the same row.
            target = rowOfAddedId.value(substance.sourceId);
            setOrigin(db, target, origin);
        }
        if (target == 0) {
            rowOfProgramNumber.insert(substance.id, next);
            putSubstance(db, next++, substance, origin);
            ++changes.added;
            continue;
        }
        if (userRows.contains(target))
            continue;
        // A row from a newer list than the program's stays: neither undoes the other.
        if (!substance.sourceVersion.isEmpty() && listDateOfRow.value(target) > substance.sourceVersion) {
            ++changes.newerList;
            continue;
        }
        rowOfProgramNumber.insert(substance.id, target);
        if (putSubstance(db, target, substance, origin))
            ++changes.changed;
    }
    // The classification of every row the program wrote, renumbered to the rows it went to.
    std::vector<ClassificationRow> classifications;
    classifications.reserve(master.classifications.size());
    for (const ClassificationRow &row : master.classifications)
        if (const auto written = rowOfProgramNumber.constFind(row.substanceId); written != rowOfProgramNumber.cend())
            classifications.push_back({*written, row.entry, row.cellText});
    std::vector<int> written(rowOfProgramNumber.cbegin(), rowOfProgramNumber.cend());
    replaceClassifications(db, written, classifications);
    rewriteAllTargetsList(db);
    runSql(db, QStringLiteral("DELETE FROM MasterVersion"));
    runSql(db, QStringLiteral("INSERT INTO MasterVersion (Version) VALUES (?)"), {master.version});
    return changes;
}

} // namespace corvane
