#include "MasterRows.h"
#include "DataFolder.h"
#include "Database.h"
#include "SqlFailure.h"
#include "Records.h"
#include "SqlRun.h"

#include <QSqlError>
#include <QSqlRecord>

namespace corvane {
namespace {

// Columns that say where a row came from (and the server's row order); the rest are the
// substance's data.
const QStringList kOriginColumns{QStringLiteral("UserOwned"), QStringLiteral("MasterNo"), QStringLiteral("rowid")};

std::optional<QVariantList> substanceData(Database &db, int id)
{
    QSqlQuery query = runSql(db, QStringLiteral("SELECT * FROM 表示物質 WHERE ID = ?"), {id});
    if (!query.next())
        return std::nullopt;
    const QSqlRecord record = query.record();
    QVariantList values;
    for (int i = 0; i < record.count(); ++i)
        if (!kOriginColumns.contains(record.fieldName(i), Qt::CaseInsensitive))
            values << record.value(i);
    return values;
}

} // namespace

std::optional<RowOrigin> storedOrigin(Database &db, int id)
{
    QSqlQuery query = runSql(db, QStringLiteral("SELECT UserOwned, MasterNo FROM 表示物質 WHERE ID = ?"), {id});
    if (!query.next())
        return std::nullopt;
    return RowOrigin{query.value(0).toInt() != 0, query.value(1)};
}

bool putSubstance(Database &db, int id, const ComposedSubstance &substance, const RowOrigin &origin)
{
    const auto before = substanceData(db, id);
    ComposedSubstance numbered = substance;
    numbered.id = id;
    QSqlQuery write(db.sql());
    {
        const auto watch = db.watchStatement();
        if (!(before ? updateSubstanceRow(write, numbered) : insertSubstanceRow(write, numbered)))
            throw sqlFailure(db, write.lastError());
    }
    setOrigin(db, id, origin);
    return before != substanceData(db, id);
}

void setOrigin(Database &db, int id, const RowOrigin &origin)
{
    runSql(db, QStringLiteral("UPDATE 表示物質 SET UserOwned = ?, MasterNo = ? WHERE ID = ?"),
           {origin.userOwned ? 1 : 0, origin.masterNo, id});
}

int highestSubstanceNumber(Database &db)
{
    QSqlQuery query = runSql(db, QStringLiteral("SELECT MAX(ID) FROM 表示物質"));
    return query.next() ? query.value(0).toInt() : 0;
}

void rewriteAllTargetsList(Database &db)
{
    runSql(db, QStringLiteral("DELETE FROM ProductItemEntry WHERE ProductID = -1"));
    std::vector<int> numbers;
    for (QSqlQuery query = runSql(db, QStringLiteral("SELECT ID FROM 表示物質 ORDER BY ID")); query.next();)
        numbers.push_back(query.value(0).toInt());
    const QString insert = QStringLiteral(
        "INSERT INTO ProductItemEntry (ProductID, BlockNo, ItemID1, ItemID2, ItemID3, ItemID4, ItemID5, "
        "ItemID6, ItemID7, ItemID8, ItemID9, ItemID10, ItemID11, ItemID12) "
        "VALUES (-1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (size_t first = 0; first < numbers.size(); first += kSlotsPerEntry) {
        QVariantList values{static_cast<int>(first / kSlotsPerEntry) + 1};
        for (size_t k = first; k < first + kSlotsPerEntry; ++k)
            values << (k < numbers.size() ? QVariant(numbers[k]) : QVariant());
        runSql(db, insert, values);
    }
}

} // namespace corvane
