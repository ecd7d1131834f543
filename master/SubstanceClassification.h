#pragma once
#include "HazardClass.h"
#include "Outcome.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace corvane {

class Database;

// The category of a row that records a class the government's list could not classify
// (分類できない): the mixture rules count such an ingredient as of unknown hazard.
inline const QString kUnclassifiableCategory = QStringLiteral("分類できない");

// One line of classifications.tsv, one row of 物質分類: a class and category of a substance,
// or a class marked kUnclassifiableCategory.
struct ClassificationRow {
    int substanceId = 0;
    ghs::ClassEntry entry;
    QString cellText; // the list's cell as written
};

// Parses classifications.tsv (番号, 分類, 区分, 臓器, 原文). Fails, naming the line, when a
// line is malformed or names an unknown class.
Result<std::vector<ClassificationRow>> readClassificationsText(const QString &text, const QString &fileName);

// Replaces the classification rows of one substance (inside the caller's transaction).
void putClassification(Database &db, int substanceId, const std::vector<ClassificationRow> &rows);

// Writes many substances' rows at once: deletes those of `substanceIds`, inserts `rows`.
void replaceClassifications(Database &db, const std::vector<int> &substanceIds,
                            const std::vector<ClassificationRow> &rows);

namespace catalogue {

// The substance's classification as stored, in the list's order; empty for a substance
// without one (the user's own, or one the government has not classified). Classes marked
// 分類できない are not entries.
std::vector<ghs::ClassEntry> classification(Database &db, int substanceId);

// Every substance's stored classification at once (for the mixture of a product): the
// entries, and the classes the list could not classify.
struct StoredClassification {
    std::vector<ghs::ClassEntry> entries;
    std::vector<ghs::HazardClass> unclassifiable;
};
std::map<int, StoredClassification> allClassifications(Database &db);

// The cut-offs of MHLW's list of substances to be labelled (重量％). A value the list gives
// as 「－」 (no cut-off given) is nothing; so is everything for a substance not on the list.
struct LegalCutoffs {
    std::optional<double> label; // ラベル表示に係る裾切値
    std::optional<double> sds;   // ＳＤＳ交付等に係る裾切値
    QString labelText, sdsText;  // as the list writes them
    QString since;               // the duty's start, "2026-04-01" or "2025-03-31以前"
    QString note;                // earlier cut-offs and the list's notes
};
std::optional<LegalCutoffs> legalCutoffs(Database &db, int substanceId);

} // namespace catalogue
} // namespace corvane
