#pragma once
#include "HazardClass.h"

#include <QString>

#include <optional>
#include <vector>

namespace corvane::ghs {

// What a cell of the government's classification list says about one hazard class.
enum class CellVerdict {
    Classified,     // one or more categories (entries below)
    NotClassified,  // 区分に該当しない
    NotApplicable,  // 区分に該当しない（分類対象外）: the class does not apply to the substance
    CannotClassify, // 分類できない
    NotInEdition,   // 「-」: the class did not exist in the GHS edition the classification used
};

struct CellReading {
    CellVerdict verdict = CellVerdict::CannotClassify;
    std::vector<ClassEntry> entries; // in the cell's order; empty unless Classified
};

// The cell's text after normalising: NFKC (full-width digits, letters and brackets made
// half-width), every kind of space taken out. Used to compare and to parse.
QString normalisedCell(const QString &text);

// Reads the cell of `column` (the class whose column it is; the reproductive toxicity column
// may also name the lactation category, which becomes an entry of HazardClass::Lactation).
// Understood forms: 区分1 … 区分5, 区分1A/1B/1C/2A/2B, タイプA…G, 等級1.1…1.6, 不安定爆発物,
// the forms of gases under pressure, 化学的に不安定なガス区分A/B after 区分1 of flammable
// gases, organs or effects in brackets after a category of specific target organ toxicity
// (several categories separated by 「、」, brackets inside organ names kept), 区分に該当しない,
// 区分に該当しない（分類対象外）, 分類できない and 「-」, in full-width or half-width, with any
// spaces. Anything else returns nothing and *problem says what was not understood; the
// caller names the row and column. Organs are returned with Japanese brackets 「（）」.
std::optional<CellReading> readClassificationCell(HazardClass column, const QString &text, QString *problem);

} // namespace corvane::ghs
