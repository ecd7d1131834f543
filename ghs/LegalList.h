#pragma once
#include "Outcome.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace corvane::ghs {

// One row of MHLW's list of substances that must be labelled (ラベル表示・ＳＤＳ交付等の義務対象物質一覧).
struct LegalEntry {
    QString sheet;   // the sheet it was read from
    QDate sheetDate; // that sheet's in-force date (its title)
    int row = 0;     // its row there
    QString section; // 令別表第３第１号 / 令別表第９ / 安衛則別表第２
    QString number;  // its number in that table ("2の2"); a part row has its group's
    QString name;    // 名称 as the law writes it
    QString englishName;
    QString group;   // for a part row: the name of the group it belongs to (「クロム及びその化合物」)
    QStringList cas; // the CAS RNs the row lists, normalised; empty for ＊２ (none can be named)
    bool casAndOthers = false;   // the CAS cell says 「他」: the name covers more than these CAS RNs
    QString labelCutoff;         // ラベル表示に係る裾切値 (重量％), as written ("0.1", "1")
    QString sdsCutoff;           // ＳＤＳ交付等に係る裾切値 (重量％)
    QDate since;                 // the date the duty began
    bool sinceOrEarlier = false; // ＊３: in force on or before `since` (令和7年3月31日以前から)
    QString earlierLabelCutoff;  // the label cut-off before the current one, where the notes give it
    QString earlierSdsCutoff;
    QDate cutoffChangedOn; // the date the current cut-offs apply from, when they changed
    QString note;          // the notes cell as written, footnote marks resolved

    // "2025-03-31以前" or "2026-04-01": the duty's start as the master records it.
    QString sinceText() const;
};

struct LegalList {
    QDate listDate; // the newest date of the sheets read (the in-force date of the newest list)
    QDate saved;    // the newest of the workbooks' saved dates
    std::vector<LegalEntry> entries;
};

// Reads MHLW's workbooks (every sheet of each: in force from 2025-04-01, added from
// 2026-04-01, in force from 2027-04-01) into one list. Refuses a workbook that is not such a
// list, and any row it cannot read, with the file, sheet, row and text.
Result<LegalList> readLegalLists(const QStringList &paths);

// The entry that applies to a CAS RN: from the newest sheet that lists it, preferring a row
// that names that CAS RN alone. Nothing when the CAS RN is not on the list.
const LegalEntry *legalEntryFor(const LegalList &list, const QString &cas);

} // namespace corvane::ghs
