#include "ProductMixture.h"
#include "Database.h"
#include "SchemaLookup.h"
#include "SqlRun.h"

#include <QSqlQuery>

#include <algorithm>

namespace corvane::catalogue {
namespace {

const QString kContents = QStringLiteral("製品含有率");
const QString kProperties = QStringLiteral("製品物性");

std::optional<double> numberOrNothing(const QVariant &value)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    return value.isNull() || !ok ? std::nullopt : std::optional<double>(number);
}

QVariant nullable(const std::optional<double> &value) { return value ? QVariant(*value) : QVariant(); }

bool hasTables(Database &db) { return tableExists(db, kContents) && tableExists(db, kProperties); }

} // namespace

ProductMixture productMixture(Database &db, int productId)
{
    ProductMixture mixture;
    if (!hasTables(db))
        return mixture;
    for (QSqlQuery rows = runSql(
             db,
             QStringLiteral("SELECT ItemID, 含有率, 含有率下限 FROM 製品含有率 WHERE ProductID = ? ORDER BY ItemID"),
             {productId});
         rows.next();) {
        const std::optional<double> upper = numberOrNothing(rows.value(1));
        if (upper)
            mixture.contents[rows.value(0).toInt()] = {*upper, numberOrNothing(rows.value(2))};
    }
    QSqlQuery data =
        runSql(db, QStringLiteral("SELECT 引火点, 初留点, 動粘性率, 残りは無害 FROM 製品物性 WHERE ProductID = ?"),
               {productId});
    if (data.next()) {
        mixture.properties.flashPointCelsius = numberOrNothing(data.value(0));
        mixture.properties.initialBoilingPointCelsius = numberOrNothing(data.value(1));
        mixture.properties.kinematicViscosity40C = numberOrNothing(data.value(2));
        mixture.properties.remainderHarmless = data.value(3).toInt() == 1;
    }
    return mixture;
}

void deleteProductMixture(Database &db, int productId)
{
    if (!hasTables(db))
        return;
    runSql(db, QStringLiteral("DELETE FROM 製品含有率 WHERE ProductID = ?"), {productId});
    runSql(db, QStringLiteral("DELETE FROM 製品物性 WHERE ProductID = ?"), {productId});
}

void writeProductMixture(Database &db, int productId, const ProductMixture &mixture,
                         const std::vector<int> &substanceNumbers)
{
    // A database the program has not upgraded yet has nowhere to put them; with nothing to
    // write that is no loss, otherwise the statements below fail and the save with them.
    if (mixture == ProductMixture{} && !hasTables(db))
        return;
    deleteProductMixture(db, productId);
    for (const auto &[number, content] : mixture.contents) {
        if (std::find(substanceNumbers.begin(), substanceNumbers.end(), number) == substanceNumbers.end())
            continue; // an unticked substance has no content
        runSql(db, QStringLiteral("INSERT INTO 製品含有率 (ProductID, ItemID, 含有率, 含有率下限) VALUES (?, ?, ?, ?)"),
               {productId, number, content.upper, nullable(content.lower)});
    }
    const ghs::ProductProperties &data = mixture.properties;
    if (data == ghs::ProductProperties{})
        return;
    runSql(
        db,
        QStringLiteral("INSERT INTO 製品物性 (ProductID, 引火点, 初留点, 動粘性率, 残りは無害) VALUES (?, ?, ?, ?, ?)"),
        {productId, nullable(data.flashPointCelsius), nullable(data.initialBoilingPointCelsius),
         nullable(data.kinematicViscosity40C), data.remainderHarmless ? 1 : 0});
}

} // namespace corvane::catalogue
