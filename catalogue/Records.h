#pragma once
#include "EntryTable.h"
#include "MasterSource.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace corvane {

// Rows of the label database, typed once where they are read. A field that may be Null is
// an optional; a number column that holds no whole number (Null, text, a fraction, a value
// beyond int) reads as no number.

struct ProductRecord { // 製品情報
    int id = 0;
    std::optional<QString> name, notes, ingredients;
    // ItemType: 0 for several substances to a label; callers choose what no number means.
    std::optional<int> itemType, itemCount;
    // Raised by every save, so a save can tell that another program saved in between.
    int revision = 0;

    QString nameText() const { return name.value_or(QString()); }
    QString notesText() const { return notes.value_or(QString()); }
    QString ingredientsText() const { return ingredients.value_or(QString()); }
};

struct EntryRecord { // ProductItemEntry
    std::optional<int> blockNo;
    std::array<std::optional<int>, kSlotsPerEntry> itemId;
};

// One product with its entry rows in block order.
struct ProductWithEntries {
    ProductRecord product;
    std::vector<EntryRecord> entries;

    // Every substance number of the entries, in order, empty slots left out.
    std::vector<int> substanceNumbers() const;
};

struct SubstanceRecord { // 表示物質; Null texts read as empty
    int id = 0;
    QString name, signalWord, hazards, precautions, cas;
    // Picture file names by position; an empty name leaves its place empty.
    std::array<QString, kPicturesPerSubstance> pictures;
    QStringList aliases; // other common names, for finding the substance; never printed
    QString source; // where the row comes from, one line for the user ("NITE m-nite-67-56-1（2026-02-27 の一覧）")
};

struct CompanyRecord { // 会社情報
    QString company, address, tel;
    int revision = 0;
};

// A column's value as a whole number, when it holds one.
std::optional<int> wholeNumber(const class QVariant &value);

} // namespace corvane
