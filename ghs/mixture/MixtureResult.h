#pragma once
#include "HazardClass.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace corvane::ghs {

// Input the rules cannot work with, naming the ingredients concerned. A refused product is
// not classified at all.
struct Refusal {
    std::vector<int> substanceNumbers;
    QString message;
};

// One category the mixture is classified in, with what decided it. Specific target organ
// toxicity can have several (category 1 for some organs, category 3 for narcotic effects).
struct Finding {
    QString category;             // canonical, e.g. "1", "2A", "追加区分"
    QStringList organs;           // specific target organ toxicity: carried from the ingredients
    std::vector<int> ingredients; // substance numbers of the deciding ingredients
    QString ruleId;               // the row of the rule table that decided it
};

enum class Verdict {
    Classified,        // findings holds the category or categories
    NotClassified,     // 区分に該当しない
    CannotClassify,    // 分類できない: reason says why
    DecidedByTestData, // physical hazard not computed from ingredients: 試験データにより判断
};

struct ClassResult {
    HazardClass hazardClass = HazardClass::AcuteOral;
    Verdict verdict = Verdict::NotClassified;
    std::vector<Finding> findings;
    QString reason;            // why not classified / cannot be classified, in Japanese
    QStringList basis;         // how the result came about, one sentence a line, in Japanese
    std::vector<int> carriers; // ingredients carrying a hazard decided by test data
    // Acute toxicity: the estimate of the mixture and the share of relevant ingredients whose
    // acute toxicity is unknown (the label states it when the mixture is classified).
    std::optional<double> acuteToxicityEstimate;
    std::optional<double> unknownPercent;
    std::vector<int> mFactorAssumed; // aquatic: ingredients counted with M = 1 for want of one
    bool inferredRule = false;       // decided by a rule row whose Japanese value is inferred
};

struct MixtureClassification {
    std::vector<Refusal> refusals;    // when not empty, classes is empty
    std::vector<ClassResult> classes; // one per hazard class, in the order of allHazardClasses()

    bool refused() const { return !refusals.empty(); }
    const ClassResult *result(HazardClass hazardClass) const;
};

} // namespace corvane::ghs
