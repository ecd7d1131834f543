#include "MasterRows.h"
#include "Database.h"
#include "EntryTable.h"
#include "SqlDialect.h"
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

QVariant textOrNull(const QString &text) { return text.isEmpty() ? QVariant() : QVariant(text); }

// The columns of 表示物質 the master fills, after ID, and their values for a substance.
const QStringList kSubstanceColumns{QStringLiteral("物質名"),
                                    QStringLiteral("\"注意喚起語：\""),
                                    QStringLiteral("\"危険有害性情報：\""),
                                    QStringLiteral("注意書き"),
                                    QStringLiteral("絵表示1"),
                                    QStringLiteral("絵表示2"),
                                    QStringLiteral("絵表示3"),
                                    QStringLiteral("絵表示4"),
                                    QStringLiteral("絵表示5"),
                                    QStringLiteral("CAS"),
                                    QStringLiteral("別名"),
                                    QStringLiteral("Hコード"),
                                    QStringLiteral("Pコード"),
                                    QStringLiteral("区分"),
                                    QStringLiteral("差込"),
                                    QStringLiteral("出典"),
                                    QStringLiteral("出典ID"),
                                    QStringLiteral("出典年"),
                                    QStringLiteral("出典備考"),
                                    QStringLiteral("出典版"),
                                    QStringLiteral("法令名称"),
                                    QStringLiteral("義務開始"),
                                    QStringLiteral("ラベル裾切値"),
                                    QStringLiteral("SDS裾切値"),
                                    QStringLiteral("法令備考")};

QVariantList substanceValues(const ComposedSubstance &s)
{
    const QString comma = QStringLiteral(",");
    const QString bar = QStringLiteral("|");
    QVariantList values{s.name, textOrNull(s.signalWord), textOrNull(s.hazards), textOrNull(s.precautions)};
    for (int m = 0; m < kPicturesPerSubstance; ++m)
        values << (m < s.pictures.size() ? QVariant(s.pictures[m]) : QVariant());
    values << textOrNull(s.cas) << textOrNull(s.aliases.join(bar)) << textOrNull(s.hazardCodes.join(comma))
           << textOrNull(s.precautionCodes.join(comma)) << textOrNull(s.categories.join(comma))
           << textOrNull(s.fillIns.join(bar)) << sourceKindName(s.sourceKind) << textOrNull(s.sourceId)
           << (s.sourceYear > 0 ? QVariant(s.sourceYear) : QVariant()) << textOrNull(s.sourceNote)
           << textOrNull(s.sourceVersion) << textOrNull(s.legalName) << textOrNull(s.legalSince)
           << textOrNull(s.labelCutoff) << textOrNull(s.sdsCutoff) << textOrNull(s.legalNote);
    return values;
}

const QString kSubstanceInsert =
    QStringLiteral("INSERT INTO 表示物質 (ID, %1) VALUES (?%2)")
        .arg(kSubstanceColumns.join(QStringLiteral(", ")), QStringLiteral(", ?").repeated(kSubstanceColumns.size()));
const QString kSubstanceUpdate =
    QStringLiteral("UPDATE 表示物質 SET %1 = ? WHERE ID = ?").arg(kSubstanceColumns.join(QStringLiteral(" = ?, ")));

bool run(QSqlQuery &query, const QString &statement, const QVariantList &values)
{
    if (query.lastQuery() != statement && !query.prepare(statement))
        return false;
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values[i]);
    return query.exec();
}

// A new row of 表示物質 with the substance's ID. The statement is prepared on the first call
// and reused after; returns false with the SQL error in query.lastError().
bool insertSubstanceRow(QSqlQuery &query, const ComposedSubstance &s)
{
    return run(query, kSubstanceInsert, QVariantList{s.id} + substanceValues(s));
}

// The same columns of the row with the substance's ID, rewritten in place: the row stays
// where it is (on a server its rowid too), only its data change.
bool updateSubstanceRow(QSqlQuery &query, const ComposedSubstance &s)
{
    return run(query, kSubstanceUpdate, substanceValues(s) << s.id);
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
            throw dialect::statementFailure(db, write.lastError());
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
    const QString insert =
        QStringLiteral("INSERT INTO ProductItemEntry (ProductID, BlockNo, ItemID1, ItemID2, ItemID3, ItemID4, ItemID5, "
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
