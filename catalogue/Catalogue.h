#pragma once
#include "Outcome.h"
#include "ProductMixture.h"
#include "Records.h"

#include <QString>

#include <optional>
#include <vector>

namespace corvane {

class Database;

// Every statement the program issues, one function each. Values are bound as parameters,
// never pasted into the statement, so any product name works. A write that is a transaction
// of its own returns the engine's failure (the transaction rolled back); the other functions
// throw it as DbError with the engine's text, and so does a read that stops early (a damaged
// page), so a list is never silently shorter than what is stored.
namespace catalogue {

// The ID of the first product of that name. Names compare without regard to the case of
// Latin letters.
// Product names are compared after Unicode NFKC normalisation and case folding, so that
// 「洗浄剤ＸＹ－１００」 and 「洗浄剤XY-100」 are one name; the name is stored as typed.
QString productNameKey(const QString &name);
std::optional<int> productIdByName(Database &db, const QString &name);

// The first product of that name.
std::optional<ProductRecord> productByName(Database &db, const QString &name);

// Adds a product row with the highest ID plus 1 (1 on an empty table) and that name;
// returns the new ID, or nothing when a product of that name exists (registered meanwhile,
// perhaps by another PC). Checking the name, reading the highest ID and adding the row are
// one transaction that no other program's registration can interleave with.
Result<std::optional<int>> registerProduct(Database &db, const QString &name);

// The product with its entry rows in block order, read in one statement.
std::optional<ProductWithEntries> productWithEntries(Database &db, int productId);

// The entry rows stored under productId, in block order (the list of all target substances
// is stored under -1).
std::vector<EntryRecord> entries(Database &db, int productId);

// The product row of that ID.
std::optional<ProductRecord> productById(Database &db, int productId);

// Every product in the table's order.
std::vector<ProductRecord> allProducts(Database &db);

// Where a substance's row comes from, as the editor shows it: 「利用者の物質」, or the kind of
// source with its ID and the date of the list it was made from ("NITE m-nite-…（2026-02-27 の一覧）").
QString sourceLine(const QString &kind, const QString &id, const QString &listDate, bool userOwned);

// The whole substance master in ascending substance number (ID).
std::vector<SubstanceRecord> allSubstances(Database &db);

// Removes all entries of the product. IDs below 1 are refused (nothing is deleted): the
// entries of -1 are the list of all target substances and never change.
void deleteEntries(Database &db, int productId);

// Removes the product row.
void deleteProduct(Database &db, int productId);

// Deletes the product's entries, contents and data, then its row, in one transaction.
Outcome deleteProductWithEntries(Database &db, int productId);

// "name（コピー）", or "name（コピー2）" and so on when that is taken, shortened to the 50
// characters a product name may have.
QString freeCopyName(Database &db, const QString &name);

// Sets the product's name; returns its new revision.
Result<int> renameProduct(Database &db, int productId, const QString &name);

// Adds the product's entry rows: the substance numbers in the given order, twelve to a row,
// rows numbered from 1.
void addEntries(Database &db, int productId, const std::vector<int> &substanceNumbers);

// A product's five data fields as they are written; an empty text is stored as Null.
struct ProductFields {
    QString name, notes, ingredients;
    int itemType = 0;
    bool operator==(const ProductFields &) const = default;
};

// Rewrites the product row's five data fields, adding the row when it is missing.
void writeProductRow(Database &db, int productId, const ProductFields &fields, int itemCount);

// What became of a save that expected a revision.
struct SaveResult {
    enum Outcome { Saved, ChangedElsewhere, DeletedElsewhere };
    Outcome outcome = Saved;
    int revision = 0; // the stored revision after the call
};

// Saves a product as the editor holds it: deletes its entries, writes the selected substance
// numbers afresh, rewrites the row's five data fields and, given a mixture, the contents of
// those substances and the product's data (without one, the stored contents of the substances
// still ticked stay), all in one transaction, so a crash
// or an error half-way leaves the product exactly as it was stored. With an expected
// revision, a product saved (or deleted) by another program since it was loaded is left as
// it is and the outcome says so.
Result<SaveResult> saveProduct(Database &db, int productId, const std::vector<int> &substanceNumbers,
                               const ProductFields &fields, std::optional<int> expectedRevision = std::nullopt,
                               const ProductMixture *mixture = nullptr);

// The first row of 会社情報.
std::optional<CompanyRecord> company(Database &db);

// Adds the row with id 1 when the table is empty.
void createCompanyIfEmpty(Database &db);

// Writes the three texts into the first row, adding it (id 1) when the table is empty; an
// empty text is stored as Null. With an expected revision, a record saved by another program
// since it was read is left as it is (outcome ChangedElsewhere).
Result<SaveResult> writeCompany(Database &db, const CompanyRecord &company,
                                std::optional<int> expectedRevision = std::nullopt);

} // namespace catalogue
} // namespace corvane
