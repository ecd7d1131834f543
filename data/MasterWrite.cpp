#include "MasterWrite.h"
#include "MasterRows.h"
#include "ProgramMaster.h"
#include "SqlRun.h"
#include "SubstanceClassification.h"

#include <QHash>

namespace corvane {

MasterChanges writeProgramMaster(Database &db, const ProgramMaster &master)
{
    QHash<int, int> rowOfMasterNo; // master number -> the row that holds it
    QSet<int> userRows;
    for (QSqlQuery query = runSql(db, QStringLiteral("SELECT ID, MasterNo, UserOwned FROM 表示物質")); query.next();) {
        if (!query.value(1).isNull())
            rowOfMasterNo.insert(query.value(1).toInt(), query.value(0).toInt());
        if (query.value(2).toInt() != 0)
            userRows.insert(query.value(0).toInt());
    }

    MasterChanges changes;
    changes.userOwned = int(userRows.size());
    int next = highestSubstanceNumber(db) + 1;
    QHash<int, int> rowOfProgramNumber; // the program master's number -> the row written
    for (const ComposedSubstance &substance : master.substances) {
        const RowOrigin origin{false, substance.id};
        const auto row = rowOfMasterNo.constFind(substance.id);
        if (row == rowOfMasterNo.cend()) {
            rowOfProgramNumber.insert(substance.id, next);
            putSubstance(db, next++, substance, origin);
            ++changes.added;
        } else if (!userRows.contains(*row)) {
            rowOfProgramNumber.insert(substance.id, *row);
            if (putSubstance(db, *row, substance, origin))
                ++changes.changed;
        }
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
