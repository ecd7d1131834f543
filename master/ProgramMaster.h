#pragma once
#include "MasterSource.h"
#include "Outcome.h"
#include "SubstanceClassification.h"

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace corvane {

// The substance master a program carries: compiled into it as a resource, so that a new
// program brings its master to every installation.
struct ProgramMaster {
    QString version;                                // master/VERSION
    QString schema;                                 // schema.sql: the tables a Data.mde must have
    QString serverSchema;                           // schema-postgresql.sql: the same on a server
    QString hazardText, precautionText;             // the statement tables, to check other files with
    std::vector<ComposedSubstance> substances;      // in number order, numbered 1..N
    std::vector<ClassificationRow> classifications; // classifications.tsv, in number order
};

// Reads a master from a folder laid out as data/master/ (the three tables and VERSION) and
// the schema file. Fails, with every error (Japanese), when a file is missing or a row breaks
// the master's rules.
Result<ProgramMaster> loadMaster(const QString &masterFolder, const QString &schemaFile);

// The master compiled into this program.
Result<ProgramMaster> programMaster();

// The line (1-based) of each numbered row of a substances.tsv text, keyed by the number.
QHash<int, int> sourceLinesOf(const QString &substanceText);

// "file 12行目: message" lines of the reader's errors.
QString describeMasterErrors(const std::vector<MasterError> &errors);

} // namespace corvane
