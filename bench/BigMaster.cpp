#include "BigMaster.h"
#include "Catalogue.h"
#include "DataFolder.h"
#include "Database.h"
#include "OpenDatabase.h"
#include "Transaction.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace corvane {

bool makeBigDataFolder(const QString &dataFolder, int count, QString *error, bool longTexts)
{
    if (const Outcome created = createDataFolder(dataFolder, dataSourcesIn(QStringLiteral(CORVANE_SOURCE_DIR)));
        !created) {
        *error = created.errorText();
        return false;
    }
    auto opened = openDatabaseFile(dataFolder + QStringLiteral("/Data.mde"));
    if (!opened) {
        *error = opened.errorText();
        return false;
    }
    auto db = std::move(*opened);
    std::vector<SubstanceRecord> real = catalogue::allSubstances(*db);
    if (real.empty()) {
        *error = QStringLiteral("the master is empty");
        return false;
    }
    QString longestPrecautions;
    for (const SubstanceRecord &s : real)
        if (s.precautions.size() > longestPrecautions.size())
            longestPrecautions = s.precautions;
    if (longTexts) {
        std::stable_sort(real.begin(), real.end(), [](const SubstanceRecord &a, const SubstanceRecord &b) {
            return a.hazards.size() > b.hazards.size();
        });
        real.resize(std::min<size_t>(real.size(), kLongRows));
    }
    Transaction transaction(*db);
    QSqlQuery query(db->sql());
    query.exec(QStringLiteral("DELETE FROM 表示物質"));
    query.exec(QStringLiteral("DELETE FROM ProductItemEntry WHERE ProductID = -1"));
    query.prepare(QStringLiteral("INSERT INTO 表示物質 (ID, 物質名, \"注意喚起語：\", \"危険有害性情報：\", 注意書き, "
                                 "絵表示1, 絵表示2, 絵表示3, 絵表示4, 絵表示5) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    std::vector<int> all;
    for (int id = 1; id <= count; ++id) {
        const SubstanceRecord &s = real[static_cast<size_t>(id - 1) % real.size()];
        query.bindValue(0, id);
        query.bindValue(1, QStringLiteral("%1（%2）").arg(s.name).arg(id));
        query.bindValue(2, s.signalWord);
        query.bindValue(3, s.hazards);
        query.bindValue(4, s.precautions);
        for (int m = 0; m < 5; ++m)
            query.bindValue(5 + m, s.pictures[static_cast<size_t>(m)]);
        if (!query.exec()) {
            *error = query.lastError().text();
            return false;
        }
        all.push_back(id);
    }
    // The target list is written like any product's entries, under -1.
    QSqlQuery entry(db->sql());
    entry.prepare(
        QStringLiteral("INSERT INTO ProductItemEntry (ProductID, BlockNo, ItemID1, ItemID2, ItemID3, ItemID4, "
                       "ItemID5, ItemID6, ItemID7, ItemID8, ItemID9, ItemID10, ItemID11, ItemID12) "
                       "VALUES (-1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int first = 0; first < count; first += 12) {
        entry.bindValue(0, first / 12 + 1);
        for (int slot = 0; slot < 12; ++slot)
            entry.bindValue(1 + slot, first + slot < count ? QVariant(first + slot + 1) : QVariant());
        if (!entry.exec()) {
            *error = entry.lastError().text();
            return false;
        }
    }
    transaction.commit();
    if (longTexts) { // each of these writes in its own transaction
        QStringList ingredients;
        for (int i = 0; i < 12; ++i)
            ingredients << QStringLiteral("%1 %2%").arg(real[static_cast<size_t>(i) % real.size()].name).arg(12 - i);
        const int product = **catalogue::registerProduct(*db, QStringLiteral("長い注意事項"));
        const std::vector<int> substances(all.begin(),
                                          all.begin() + std::min<size_t>(all.size(), kLongProductSubstances));
        catalogue::addEntries(*db, product, substances);
        catalogue::writeProductRow(
            *db, product,
            {QStringLiteral("長い注意事項"), longestPrecautions, ingredients.join(QStringLiteral("\r\n")), 0},
            static_cast<int>(substances.size()));
    }
    return true;
}

} // namespace corvane
