#pragma once
#include <QVariant>

#include <array>

namespace corvane {

// Rows of the label database as the program reads them. Every field is a QVariant, so a
// Null field stays distinguishable from an empty text or a zero.

constexpr int kSlotsPerEntry = 12;
constexpr int kPicturesPerSubstance = 5;

struct ProductRecord { // 製品情報
    QVariant id, name, notes, ingredients, itemType, itemCount;
};

struct EntryRecord { // ProductItemEntry
    QVariant productId, blockNo;
    std::array<QVariant, kSlotsPerEntry> itemId;
};

// One row of a product joined with one of its entry rows (all entry fields Null when the
// product has none).
struct ProductEntryRow {
    ProductRecord product;
    EntryRecord entry;
};

struct SubstanceRecord { // 表示物質
    QVariant id, name, signalWord, hazards, precautions, cas;
    std::array<QVariant, kPicturesPerSubstance> pictures;
};

struct CompanyRecord { // 会社情報
    QVariant id, company, address, tel;
};

} // namespace corvane
