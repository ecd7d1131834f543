#pragma once
#include "MasterSource.h"

#include <QVariant>

#include <optional>
#include <vector>

namespace corvane {

class Database;
struct ProgramMaster;

// Where a row of 表示物質 came from: kept beside the substance's data so that updates know
// which rows are the user's own and which number of the program's master each row holds.
struct RowOrigin {
    bool userOwned = false;
    QVariant masterNo; // the program master's number; Null for a substance the user added
};

// A stored row's origin, or nothing when no row has that number.
std::optional<RowOrigin> storedOrigin(Database &db, int id);

// Writes the substance as row `id` of 表示物質 (adding it, or updating the row of that
// number in place, so the number never changes) with its origin. Returns whether the
// substance's data differ from what the row held before; a row that did not exist counts
// as changed. Runs inside the caller's transaction; throws DbError.
bool putSubstance(Database &db, int id, const ComposedSubstance &substance, const RowOrigin &origin);

// Rewrites a stored row's origin.
void setOrigin(Database &db, int id, const RowOrigin &origin);

// The highest number in 表示物質, 0 when it is empty.
int highestSubstanceNumber(Database &db);

// Rewrites the list of all target substances (the entries of product -1): every substance
// of the master, twelve to a row, in number order.
void rewriteAllTargetsList(Database &db);

} // namespace corvane
