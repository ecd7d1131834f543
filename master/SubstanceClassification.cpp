#include "SubstanceClassification.h"
#include "Database.h"
#include "SchemaLookup.h"
#include "SqlRun.h"

#include <QSqlQuery>

namespace corvane {

Result<std::vector<ClassificationRow>> readClassificationsText(const QString &text, const QString &fileName)
{
    std::vector<ClassificationRow> rows;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = QString(lines[i]).remove(QLatin1Char('\r'));
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        bool numeric = false;
        const int id = fields.value(0).toInt(&numeric);
        const auto hazardClass = ghs::hazardClassFromKey(fields.value(1));
        if (fields.size() != 5 || !numeric || id <= 0 || !hazardClass || fields[2].isEmpty())
            return Failure{QStringLiteral("%1 %2行目: 「番号<TAB>分類<TAB>区分<TAB>臓器<TAB>原文」の形ではありません。")
                               .arg(fileName)
                               .arg(i + 1)};
        ClassificationRow row{id, {*hazardClass, fields[2], {}}, fields[4]};
        if (!fields[3].isEmpty())
            row.entry.organs = fields[3].split(QStringLiteral("、"));
        rows.push_back(row);
    }
    return rows;
}

namespace {

void insertRows(Database &db, const std::vector<ClassificationRow> &rows)
{
    int order = 0;
    int previous = 0;
    for (const ClassificationRow &row : rows) {
        order = row.substanceId == previous ? order + 1 : 1;
        previous = row.substanceId;
        runSql(db,
               QStringLiteral("INSERT INTO 物質分類 (物質ID, 順, 分類, 区分, 臓器, 原文) VALUES (?, ?, ?, ?, ?, ?)"),
               {row.substanceId, order, ghs::hazardClassKey(row.entry.hazardClass), row.entry.category,
                row.entry.organs.isEmpty() ? QVariant() : QVariant(row.entry.organs.join(QStringLiteral("、"))),
                row.cellText.isEmpty() ? QVariant() : QVariant(row.cellText)});
    }
}

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

} // namespace

void putClassification(Database &db, int substanceId, const std::vector<ClassificationRow> &rows)
{
    runSql(db, QStringLiteral("DELETE FROM 物質分類 WHERE 物質ID = ?"), {substanceId});
    std::vector<ClassificationRow> renumbered = rows;
    for (ClassificationRow &row : renumbered)
        row.substanceId = substanceId;
    insertRows(db, renumbered);
}

void replaceClassifications(Database &db, const std::vector<int> &substanceIds,
                            const std::vector<ClassificationRow> &rows)
{
    for (int id : substanceIds)
        runSql(db, QStringLiteral("DELETE FROM 物質分類 WHERE 物質ID = ?"), {id});
    insertRows(db, rows);
}

namespace catalogue {

std::vector<ghs::ClassEntry> classification(Database &db, int substanceId)
{
    std::vector<ghs::ClassEntry> entries;
    for (QSqlQuery query = runSql(
             db, QStringLiteral("SELECT 分類, 区分, 臓器 FROM 物質分類 WHERE 物質ID = ? ORDER BY 順"), {substanceId});
         query.next();) {
        const auto hazardClass = ghs::hazardClassFromKey(query.value(0).toString());
        if (!hazardClass)
            continue; // a class a later program added; this one cannot use it
        ghs::ClassEntry entry{*hazardClass, query.value(1).toString(), {}};
        if (entry.category == kUnclassifiableCategory)
            continue;
        if (const QString organs = query.value(2).toString(); !organs.isEmpty())
            entry.organs = organs.split(QStringLiteral("、"));
        entries.push_back(entry);
    }
    return entries;
}

std::map<int, StoredClassification> allClassifications(Database &db)
{
    std::map<int, StoredClassification> all;
    if (!tableExists(db, QStringLiteral("物質分類")))
        return all;
    for (QSqlQuery query =
             runSql(db, QStringLiteral("SELECT 物質ID, 分類, 区分, 臓器 FROM 物質分類 ORDER BY 物質ID, 順"));
         query.next();) {
        const auto hazardClass = ghs::hazardClassFromKey(query.value(1).toString());
        if (!hazardClass)
            continue;
        StoredClassification &stored = all[query.value(0).toInt()];
        const QString category = query.value(2).toString();
        if (category == kUnclassifiableCategory) {
            stored.unclassifiable.push_back(*hazardClass);
            continue;
        }
        ghs::ClassEntry entry{*hazardClass, category, {}};
        if (const QString organs = query.value(3).toString(); !organs.isEmpty())
            entry.organs = organs.split(QStringLiteral("、"));
        stored.entries.push_back(entry);
    }
    return all;
}

std::optional<LegalCutoffs> legalCutoffs(Database &db, int substanceId)
{
    QSqlQuery query =
        runSql(db, QStringLiteral("SELECT ラベル裾切値, SDS裾切値, 義務開始, 法令備考 FROM 表示物質 WHERE ID = ?"),
               {substanceId});
    if (!query.next() || query.value(2).toString().isEmpty())
        return std::nullopt;
    LegalCutoffs cutoffs;
    cutoffs.labelText = query.value(0).toString();
    cutoffs.sdsText = query.value(1).toString();
    cutoffs.label = number(cutoffs.labelText);
    cutoffs.sds = number(cutoffs.sdsText);
    cutoffs.since = query.value(2).toString();
    cutoffs.note = query.value(3).toString();
    return cutoffs;
}

} // namespace catalogue
} // namespace corvane
