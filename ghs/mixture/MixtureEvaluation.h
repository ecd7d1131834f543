#pragma once
// What the classifier's parts share; not part of the module's interface.
#include "MixtureInput.h"
#include "MixtureResult.h"
#include "MixtureRules.h"

namespace corvane::ghs::detail {

// The checked input as every class sees it.
struct MixtureView {
    const std::vector<Ingredient> &ingredients;
    const ProductProperties &product;
    double remainderPercent = 0; // the part no ingredient covers: 100 − Σ lower bounds
};

// Sums of typed contents must not miss a cut-off by rounding (0.7 + 0.2 + 0.1 < 1.0).
bool atLeast(double value, double limit);
bool atMost(double value, double limit);

double upperContent(const Ingredient &ingredient);
std::vector<const ClassEntry *> entriesOf(const Ingredient &ingredient, HazardClass hazardClass);

// A category of this class that Japan does not use (acute 5, skin 3, aspiration 2).
const MixtureRule *ignoringRule(const std::vector<const MixtureRule *> &rules, HazardClass hazardClass,
                                const QString &category);
// Whether some row of the class speaks of this category.
bool knownCategory(const std::vector<const MixtureRule *> &rules, HazardClass hazardClass, const QString &category);
// The source could not classify the ingredient in this class, or gave a category the table
// does not know.
bool unknownFor(const Ingredient &ingredient, HazardClass hazardClass, const std::vector<const MixtureRule *> &rules);

// The M-factor of an aquatic class; 1 elsewhere. `assumed` tells that none was given.
double mFactorOf(const Ingredient &ingredient, HazardClass hazardClass, bool *assumed);

// From which content an ingredient of this category counts for the class (0: any).
double relevanceLimit(const std::vector<const MixtureRule *> &rules, HazardClass termClass, const QString &category,
                      double mFactor, bool *usesMFactor = nullptr);

QString ruleTag(const MixtureRule &rule);
QString categoryText(const QString &category); // "区分2A", "授乳に対する…追加区分"

ClassResult classifyAcuteToxicity(HazardClass hazardClass, const MixtureView &mixture, const MixtureRuleTable &table);
ClassResult classifyByRules(HazardClass hazardClass, const MixtureView &mixture, const MixtureRuleTable &table);

} // namespace corvane::ghs::detail
