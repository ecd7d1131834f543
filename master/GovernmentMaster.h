#pragma once
#include "LabelElements.h"
#include "MasterSource.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace corvane::ghs {
struct NiteList;
struct LegalList;
} // namespace corvane::ghs

namespace corvane {

// The substance master made from the government's lists: the rows of substances.tsv and the
// classification of each (classifications.tsv), numbered after the master they replace.
struct GovernmentMaster {
    std::vector<ComposedSubstance> substances; // numbered 1..N
    QString classificationsText;               // classifications.tsv
    QStringList summary;                       // counts, for the person who ran it
};

// Builds the master:
// - every substance of NITE's list, its label elements composed from its classification with
//   the table of label elements; the noble gases and any other substance of `current` that
//   NITE lacks kept as they are (未確認);
// - the substances of `current` keep their numbers (matched by CAS RN; where NITE has two
//   forms under one CAS RN, the form whose name is the current row's), new ones follow the
//   last number in the order of their CAS RN;
// - the name: the legal list's where it names this CAS RN alone, NITE's otherwise; NITE's
//   name and the English name kept as aliases where they are no other substance's name;
// - the legal list's duty, date and cut-offs on the substances it lists.
// Statements whose blank nothing fills (P321, P370+P378 …) are left out. The result is
// checked with the master's rules (readMasterSource); the failure has every error.
Result<GovernmentMaster> buildGovernmentMaster(const ghs::NiteList &nite, const ghs::LegalList &legal,
                                               const std::vector<ComposedSubstance> &current, const QString &hazardText,
                                               const QString &precautionText);

// The credit lines the publishers ask for wherever the master's source is shown, for a master
// made from NITE's list of that date ("2026-02-27"): NITE's names the edition as NITE
// publishes it where the date is that of a known edition (2026-02-27: 2026年3月版), else the
// date the list was saved.
QStringList governmentCredits(const QString &niteListDate);

// The codes of a statement file whose text has a blank only the product's maker can fill
// ({名前}, not {名前?}: P378's extinguishing media …); composed labels leave them out.
QSet<QString> codesWithBlanks(const QString &statementText);

// Puts a composed label's elements into a master row, leaving out the precautionary
// statements with such a blank.
void setLabelElements(ComposedSubstance &row, const ghs::ComposedLabel &label, const QSet<QString> &blanks);

// What the government's classifications are, and are not, for a user (one sentence).
QString governmentClassificationNotice();

// substances.tsv as a text: the header comment and every row.
QString substancesFileText(const std::vector<ComposedSubstance> &substances);

} // namespace corvane
