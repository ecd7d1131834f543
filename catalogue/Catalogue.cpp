#include "Catalogue.h"
#include "Database.h"
#include "DbError.h"
#include "DialectSteps.h"
#include "SchemaLookup.h"
#include "SqlDialect.h"
#include "SqlRun.h"
#include "Transaction.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace corvane::catalogue {
namespace {

// The start-up adds the revision column to a database of an earlier release; one it could
// not change (read-only) still reads, every row as revision 0.
QString revisionOf(Database &db, const QString &table)
{
    return hasColumn(db, table, QStringLiteral("Revision")) ? QStringLiteral("COALESCE(%1.Revision, 0)").arg(table)
                                                            : QStringLiteral("0");
}

QString productColumns(Database &db)
{
    return QStringLiteral("製品情報.ID, 製品情報.製品名, 製品情報.注意事項, 製品情報.含有成分, 製品情報.ItemType, "
                          "製品情報.ItemCount, %1")
        .arg(revisionOf(db, QStringLiteral("製品情報")));
}
const QString kEntryColumns =
    QStringLiteral("ProductItemEntry.BlockNo, ItemID1, ItemID2, ItemID3, ItemID4, "
                   "ItemID5, ItemID6, ItemID7, ItemID8, ItemID9, ItemID10, ItemID11, ItemID12");

// A column's value as text, empty for Null; a whole number stored as a double reads "12", not
// "12.0".
QString textOrEmpty(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 17);
    return value.toString();
}

std::optional<QString> textOrNothing(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<QString>(textOrEmpty(value));
}

QVariant nullIfEmpty(const QString &text) { return text.isEmpty() ? QVariant() : QVariant(text); }

ProductRecord productAt(const QSqlQuery &query, int first = 0)
{
    return {query.value(first).toInt(),
            textOrNothing(query.value(first + 1)),
            textOrNothing(query.value(first + 2)),
            textOrNothing(query.value(first + 3)),
            wholeNumber(query.value(first + 4)),
            wholeNumber(query.value(first + 5)),
            query.value(first + 6).toInt()};
}

EntryRecord entryAt(const QSqlQuery &query, int first)
{
    EntryRecord entry{wholeNumber(query.value(first)), {}};
    for (int slot = 0; slot < kSlotsPerEntry; ++slot)
        entry.itemId[static_cast<size_t>(slot)] = wholeNumber(query.value(first + 1 + slot));
    return entry;
}

// Steps to the next row; a step that fails (rather than reaching the end) is an error.
bool nextRow(Database &db, QSqlQuery &query)
{
    if (query.next())
        return true;
    if (query.lastError().isValid())
        throw dialect::statementFailure(db, query.lastError());
    return false;
}

template <class Record, class Read>
std::vector<Record> readAll(Database &db, QSqlQuery query, Read read)
{
    std::vector<Record> rows;
    while (nextRow(db, query))
        rows.push_back(read(query));
    return rows;
}

std::optional<ProductRecord> firstProduct(Database &db, QSqlQuery query)
{
    if (!nextRow(db, query))
        return std::nullopt;
    return productAt(query);
}

} // namespace

QString productNameKey(const QString &name) { return name.normalized(QString::NormalizationForm_KC).toCaseFolded(); }

std::optional<int> productIdByName(Database &db, const QString &name)
{
    // The name as stored (a file or server that holds look-alike names from before finds each
    // by its own spelling), then any name that reads the same.
    QSqlQuery query = runSql(
        db, QStringLiteral("SELECT ID FROM 製品情報 WHERE %1 ORDER BY ID").arg(dialect::sameProductName(db)), {name});
    if (nextRow(db, query))
        return query.value(0).toInt();
    query.finish();
    const QString key = productNameKey(name);
    QSqlQuery all = runSql(db, QStringLiteral("SELECT ID, 製品名 FROM 製品情報 WHERE 製品名 IS NOT NULL ORDER BY ID"));
    while (nextRow(db, all))
        if (productNameKey(all.value(1).toString()) == key)
            return all.value(0).toInt();
    return std::nullopt;
}

std::optional<ProductRecord> productByName(Database &db, const QString &name)
{
    const std::optional<int> id = productIdByName(db, name);
    return id ? productById(db, *id) : std::nullopt;
}

Result<std::optional<int>> registerProduct(Database &db, const QString &name)
{
    try {
        Transaction transaction(db);
        dialect::lockTable(db, QStringLiteral("製品情報"));
        if (productIdByName(db, name))
            return std::optional<int>();
        QSqlQuery highest = runSql(db, QStringLiteral("SELECT MAX(ID) FROM 製品情報"));
        const int id = nextRow(db, highest) && !highest.value(0).isNull() ? highest.value(0).toInt() + 1 : 1;
        highest.finish();
        runSql(db, QStringLiteral("INSERT INTO 製品情報 (ID, 製品名) VALUES (?, ?)"), {id, name});
        transaction.commit();
        return std::optional<int>(id);
    } catch (const DbError &error) {
        return error.failure();
    }
}

std::optional<ProductWithEntries> productWithEntries(Database &db, int productId)
{
    QSqlQuery query =
        runSql(db,
               QStringLiteral("SELECT %1, ProductItemEntry.ProductID, %2 FROM 製品情報 LEFT JOIN ProductItemEntry "
                              "ON 製品情報.ID = ProductItemEntry.ProductID WHERE 製品情報.ID = ? "
                              "ORDER BY ProductItemEntry.BlockNo, ProductItemEntry.rowid")
                   .arg(productColumns(db), kEntryColumns),
               {productId});
    std::optional<ProductWithEntries> result;
    while (nextRow(db, query)) {
        if (!result)
            result = ProductWithEntries{productAt(query), {}};
        if (!query.value(7).isNull()) // a product without entries comes back once, entry Null
            result->entries.push_back(entryAt(query, 8));
    }
    return result;
}

std::vector<EntryRecord> entries(Database &db, int productId)
{
    return readAll<EntryRecord>(db,
                                runSql(db,
                                       QStringLiteral("SELECT %1 FROM ProductItemEntry WHERE ProductID = ? "
                                                      "ORDER BY BlockNo, rowid")
                                           .arg(kEntryColumns),
                                       {productId}),
                                [](const QSqlQuery &query) { return entryAt(query, 0); });
}

std::optional<ProductRecord> productById(Database &db, int productId)
{
    return firstProduct(
        db, runSql(db, QStringLiteral("SELECT %1 FROM 製品情報 WHERE ID = ?").arg(productColumns(db)), {productId}));
}

std::vector<ProductRecord> allProducts(Database &db)
{
    return readAll<ProductRecord>(
        db, runSql(db, QStringLiteral("SELECT %1 FROM 製品情報 ORDER BY rowid").arg(productColumns(db))),
        [](const QSqlQuery &query) { return productAt(query); });
}

QString sourceLine(const QString &kind, const QString &id, const QString &listDate, bool userOwned)
{
    if (userOwned)
        return QStringLiteral("利用者の物質");
    if (kind.isEmpty())
        return QString();
    QString line = kind;
    if (!id.isEmpty())
        line += QLatin1Char(' ') + id;
    if (!listDate.isEmpty())
        line += QStringLiteral("（%1 の一覧）").arg(listDate);
    return line;
}

std::vector<SubstanceRecord> allSubstances(Database &db)
{
    // A database of the first release has no 別名 column; its substances have no aliases.
    QSqlQuery query = runSql(db, QStringLiteral("SELECT * FROM 表示物質 ORDER BY ID"));
    const QSqlRecord columns = query.record();
    const auto column = [&](const char *name) { return columns.indexOf(QString::fromUtf8(name)); };
    const int id = column("ID"), name = column("物質名"), signalWord = column("注意喚起語："),
              hazards = column("危険有害性情報："), precautions = column("注意書き"), cas = column("CAS"),
              aliases = column("別名"), source = column("出典"), sourceId = column("出典ID"),
              sourceVersion = column("出典版"), userOwned = column("UserOwned");
    std::array<int, kPicturesPerSubstance> pictures{};
    for (int m = 0; m < kPicturesPerSubstance; ++m)
        pictures[static_cast<size_t>(m)] = columns.indexOf(QStringLiteral("絵表示%1").arg(m + 1));
    return readAll<SubstanceRecord>(db, std::move(query), [&](const QSqlQuery &row) {
        const auto text = [&](int index) { return index < 0 ? QString() : textOrEmpty(row.value(index)); };
        SubstanceRecord substance{row.value(id).toInt(),
                                  text(name),
                                  text(signalWord),
                                  text(hazards),
                                  text(precautions),
                                  text(cas),
                                  {},
                                  {},
                                  {}};
        for (int m = 0; m < kPicturesPerSubstance; ++m)
            substance.pictures[static_cast<size_t>(m)] = text(pictures[static_cast<size_t>(m)]);
        const QString aliasText = text(aliases);
        if (!aliasText.isEmpty())
            substance.aliases = aliasText.split(QLatin1Char('|'), Qt::SkipEmptyParts);
        substance.source = sourceLine(text(source), text(sourceId), text(sourceVersion),
                                      userOwned >= 0 && row.value(userOwned).toInt() != 0);
        return substance;
    });
}

void deleteEntries(Database &db, int productId)
{
    if (productId < 1)
        return;
    runSql(db, QStringLiteral("DELETE FROM ProductItemEntry WHERE ProductID = ?"), {productId});
}

void deleteProduct(Database &db, int productId)
{
    runSql(db, QStringLiteral("DELETE FROM 製品情報 WHERE ID = ?"), {productId});
}

Outcome deleteProductWithEntries(Database &db, int productId)
{
    if (productId < 1)
        return {};
    try {
        Transaction transaction(db);
        deleteEntries(db, productId);
        deleteProductMixture(db, productId);
        deleteProduct(db, productId);
        transaction.commit();
        return {};
    } catch (const DbError &error) {
        return error.failure();
    }
}

namespace {

// Inside a write transaction: the stored revision of a product, or none when it is gone.
std::optional<int> storedRevision(Database &db, int productId)
{
    QSqlQuery query = runSql(
        db, QStringLiteral("SELECT COALESCE(Revision, 0) FROM 製品情報 WHERE ID = ?%1").arg(dialect::forUpdate(db)),
        {productId});
    return nextRow(db, query) ? std::optional<int>(query.value(0).toInt()) : std::nullopt;
}

void setRevision(Database &db, int productId, int revision)
{
    runSql(db, QStringLiteral("UPDATE 製品情報 SET Revision = ? WHERE ID = ?"), {revision, productId});
}

} // namespace

QString freeCopyName(Database &db, const QString &name)
{
    constexpr qsizetype kLongestName = 50;
    for (int n = 1;; ++n) {
        const QString mark = n == 1 ? QStringLiteral("（コピー）") : QStringLiteral("（コピー%1）").arg(n);
        const QString candidate = name.left(kLongestName - mark.size()) + mark;
        if (!productIdByName(db, candidate))
            return candidate;
    }
}

Result<int> renameProduct(Database &db, int productId, const QString &name)
{
    try {
        Transaction transaction(db);
        const int revision = storedRevision(db, productId).value_or(0) + 1;
        runSql(db, QStringLiteral("UPDATE 製品情報 SET 製品名 = ? WHERE ID = ?"), {name, productId});
        setRevision(db, productId, revision);
        transaction.commit();
        return revision;
    } catch (const DbError &error) {
        return error.failure();
    }
}

void addEntries(Database &db, int productId, const std::vector<int> &substanceNumbers)
{
    if (productId < 1 || substanceNumbers.empty())
        return;
    const QString columns =
        QStringLiteral("INSERT INTO ProductItemEntry (ProductID, BlockNo, ItemID1, ItemID2, ItemID3, ItemID4, "
                       "ItemID5, ItemID6, ItemID7, ItemID8, ItemID9, ItemID10, ItemID11, ItemID12) VALUES ");
    const QString row = QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const size_t rowsPerStatement = dialect::rowsPerInsert(db);
    const size_t count = substanceNumbers.size();
    const size_t rows = (count + kSlotsPerEntry - 1) / kSlotsPerEntry;
    QSqlQuery insert(db.sql());
    QString prepared;
    for (size_t firstRow = 0; firstRow < rows; firstRow += rowsPerStatement) {
        const size_t rowsHere = std::min(rowsPerStatement, rows - firstRow);
        const QString statement = columns + QStringList(qsizetype(rowsHere), row).join(QStringLiteral(", "));
        const auto watch = db.watchStatement();
        if (statement != prepared) { // prepared once, and again only for a shorter last statement
            if (!insert.prepare(statement))
                throw dialect::statementFailure(db, insert.lastError());
            prepared = statement;
        }
        int value = 0;
        for (size_t r = firstRow; r < firstRow + rowsHere; ++r) {
            insert.bindValue(value++, productId);
            insert.bindValue(value++, static_cast<int>(r) + 1);
            for (size_t slot = 0; slot < kSlotsPerEntry; ++slot) {
                const size_t k = r * kSlotsPerEntry + slot;
                insert.bindValue(value++, k < count ? QVariant(substanceNumbers[k]) : QVariant());
            }
        }
        if (!insert.exec())
            throw dialect::statementFailure(db, insert.lastError());
    }
}

void writeProductRow(Database &db, int productId, const ProductFields &fields, int itemCount)
{
    const QVariantList values{nullIfEmpty(fields.name),
                              nullIfEmpty(fields.notes),
                              nullIfEmpty(fields.ingredients),
                              fields.itemType,
                              itemCount,
                              productId};
    QSqlQuery update = runSql(db,
                              QStringLiteral("UPDATE 製品情報 SET 製品名 = ?, 注意事項 = ?, 含有成分 = ?, "
                                             "ItemType = ?, ItemCount = ? WHERE ID = ?"),
                              values);
    if (update.numRowsAffected() > 0)
        return;
    runSql(db,
           QStringLiteral("INSERT INTO 製品情報 (製品名, 注意事項, 含有成分, ItemType, ItemCount, ID) "
                          "VALUES (?, ?, ?, ?, ?, ?)"),
           values);
}

Result<SaveResult> saveProduct(Database &db, int productId, const std::vector<int> &substanceNumbers,
                               const ProductFields &fields, std::optional<int> expectedRevision,
                               const ProductMixture *mixture)
{
    try {
        Transaction transaction(db);
        const std::optional<int> stored = storedRevision(db, productId);
        if (expectedRevision && !stored)
            return SaveResult{SaveResult::DeletedElsewhere, 0};
        if (expectedRevision && *stored != *expectedRevision)
            return SaveResult{SaveResult::ChangedElsewhere, *stored};
        deleteEntries(db, productId);
        addEntries(db, productId, substanceNumbers);
        writeProductRow(db, productId, fields, static_cast<int>(substanceNumbers.size()));
        // A substance no longer in the product loses its content whoever saves it.
        writeProductMixture(db, productId, mixture ? *mixture : productMixture(db, productId), substanceNumbers);
        const int revision = stored.value_or(0) + 1;
        setRevision(db, productId, revision);
        transaction.commit();
        return SaveResult{SaveResult::Saved, revision};
    } catch (const DbError &error) {
        return error.failure();
    }
}

std::optional<CompanyRecord> company(Database &db)
{
    QSqlQuery query = runSql(db, QStringLiteral("SELECT 会社, 住所, TEL, %1 FROM 会社情報 ORDER BY rowid LIMIT 1")
                                     .arg(revisionOf(db, QStringLiteral("会社情報"))));
    if (!nextRow(db, query))
        return std::nullopt;
    return CompanyRecord{textOrEmpty(query.value(0)), textOrEmpty(query.value(1)), textOrEmpty(query.value(2)),
                         query.value(3).toInt()};
}

void createCompanyIfEmpty(Database &db)
{
    runSql(db, QStringLiteral("INSERT INTO 会社情報 (id) SELECT 1 WHERE NOT EXISTS (SELECT 1 FROM 会社情報)"));
}

Result<SaveResult> writeCompany(Database &db, const CompanyRecord &company, std::optional<int> expectedRevision)
{
    try {
        Transaction transaction(db);
        dialect::lockTable(db, QStringLiteral("会社情報"));
        createCompanyIfEmpty(db);
        const QString first = QStringLiteral("(SELECT rowid FROM 会社情報 ORDER BY rowid LIMIT 1)");
        QSqlQuery stored =
            runSql(db, QStringLiteral("SELECT COALESCE(Revision, 0) FROM 会社情報 WHERE rowid = %1").arg(first));
        const int revision = nextRow(db, stored) ? stored.value(0).toInt() : 0;
        stored.finish();
        if (expectedRevision && revision != *expectedRevision)
            return SaveResult{SaveResult::ChangedElsewhere, revision};
        runSql(
            db,
            QStringLiteral("UPDATE 会社情報 SET 会社 = ?, 住所 = ?, TEL = ?, Revision = ? WHERE rowid = %1").arg(first),
            {nullIfEmpty(company.company), nullIfEmpty(company.address), nullIfEmpty(company.tel), revision + 1});
        transaction.commit();
        return SaveResult{SaveResult::Saved, revision + 1};
    } catch (const DbError &error) {
        return error.failure();
    }
}

} // namespace corvane::catalogue
