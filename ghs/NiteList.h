#pragma once
#include "ClassificationCell.h"
#include "HazardClass.h"
#include "Outcome.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace corvane::ghs {

// One cell as the list writes it, with what it says.
struct ClassCell {
    HazardClass column; // the column's class (reproductive toxicity for a lactation entry)
    QString text;       // the cell's own words, for review
    CellReading reading;
};

// One row of NITE's integrated list of the government's GHS classifications.
struct NiteSubstance {
    int row = 0;                  // the row in the sheet, for messages
    QString id;                   // m-nite-<CAS>, m-nite-<CAS>a for a second form, m-nite-nocas-NNNN
    QString cas;                  // the CAS RN the ID names; empty for an ID without one
    QStringList otherCas;         // further CAS RNs the row's cell lists (isomers, salts)
    QString name;                 // 物質名称
    std::vector<ClassCell> cells; // the 35 class columns in order
    QString niteUrl, labelUrl, sdsUrl;

    // Every classified entry of every cell, in column order (lactation after reproductive
    // toxicity).
    std::vector<ClassEntry> entries() const;
};

struct NiteList {
    QDate saved; // the date the workbook was saved (its own property), the list's version
    std::vector<NiteSubstance> substances;
};

// Reads list_nite_all.xlsx. Refuses, with a Japanese message naming the file, a workbook
// whose first sheet does not have the list's columns, a row whose ID or CAS RN is malformed,
// an ID that repeats, and any cell not understood (with its row, column and text).
Result<NiteList> readNiteList(const QString &path);

// The ID's CAS RN: "m-nite-7664-39-3a" -> "7664-39-3"; empty for "m-nite-nocas-0001".
QString casOfNiteId(const QString &id);

} // namespace corvane::ghs
