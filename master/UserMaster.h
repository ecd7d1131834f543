#pragma once
#include "MasterSource.h"
#include "RunResult.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace corvane {

class Database;
struct ProgramMaster;

// Checks a file in the format of substances.tsv with the rules the build applies to the
// program's own master, against the program's statement tables, and with what a user's file
// must be besides (ImportText.h: no control characters, sizes a label can print). Every
// error carries its line.
std::vector<MasterError> checkSubstanceFile(const ProgramMaster &master, const QString &text, const QString &fileName);

// The master as stored, in the format of substances.tsv; each of the user's own rows
// follows a line "# 利用者の物質".
Result<QString> exportMaster(Database &db);

// Takes the user's own substances from a file in the format of substances.tsv, numbered as
// the stored master (an exported file, edited): a row that differs from the stored row of its
// number replaces it, a row after the highest number is added, and both are marked as the
// user's own so that program updates leave them alone. The file is checked first, and a row
// whose CAS RN differs from (or leaves out) the stored substance's of that number is refused
// (it would turn a substance that products refer to into another one); on any error nothing
// is changed.
// Otherwise the database is backed up (Data/backup/) and changed in one transaction. The
// notices list what changed.
RunResult importSubstances(Database &db, const ProgramMaster &master, const QString &text, const QString &fileName,
                           const QDateTime &now);

// The whole stored master as one HTML table for review: number, name, CAS RN, signal word,
// pictograms, the statements as printed, where each row comes from and whose it is.
Result<QString> masterReport(Database &db);

} // namespace corvane
