#include "MixtureClassifier.h"

#include "IngredientCheck.h"
#include "MixtureEvaluation.h"

#include <algorithm>

namespace corvane::ghs {
namespace {

bool isAcuteToxicity(HazardClass hazardClass)
{
    switch (hazardClass) {
    case HazardClass::AcuteOral:
    case HazardClass::AcuteDermal:
    case HazardClass::AcuteInhalationGas:
    case HazardClass::AcuteInhalationVapour:
    case HazardClass::AcuteInhalationDust: return true;
    default: return false;
    }
}

// Ranges classify by their upper bound; the basis says which deciding ingredients had one.
void noteRanges(ClassResult &result, const std::vector<Ingredient> &ingredients)
{
    QStringList ranged;
    for (const Ingredient &ingredient : ingredients) {
        if (!ingredient.content->lower)
            continue;
        for (const Finding &finding : result.findings) {
            if (std::find(finding.ingredients.begin(), finding.ingredients.end(), ingredient.substanceNumber)
                == finding.ingredients.end())
                continue;
            ranged.append(QStringLiteral("%1 %2-%3%")
                              .arg(ingredientLabel(ingredient), percentText(*ingredient.content->lower),
                                   percentText(ingredient.content->upper)));
            break;
        }
    }
    if (!ranged.isEmpty())
        result.basis.append(
            QStringLiteral("含有率が範囲の成分は上限値で計算した: %1").arg(ranged.join(QStringLiteral("、"))));
}

} // namespace

const ClassResult *MixtureClassification::result(HazardClass hazardClass) const
{
    for (const ClassResult &classResult : classes)
        if (classResult.hazardClass == hazardClass)
            return &classResult;
    return nullptr;
}

MixtureClassification classifyMixture(const std::vector<Ingredient> &ingredients, const ProductProperties &product)
{
    MixtureClassification classification;
    classification.refusals = checkIngredients(ingredients);
    if (classification.refused())
        return classification;

    double least = 0;
    for (const Ingredient &ingredient : ingredients)
        least += ingredient.content->least();
    // The largest share the listed ingredients may leave uncovered.
    const detail::MixtureView mixture{ingredients, product, std::max(0.0, 100 - least)};

    const MixtureRuleTable &table = mixtureRules();
    classification.classes.reserve(allHazardClasses().size());
    for (HazardClass hazardClass : allHazardClasses()) {
        ClassResult result = isAcuteToxicity(hazardClass) ? detail::classifyAcuteToxicity(hazardClass, mixture, table)
                                                          : detail::classifyByRules(hazardClass, mixture, table);
        noteRanges(result, ingredients);
        classification.classes.push_back(std::move(result));
    }
    return classification;
}

} // namespace corvane::ghs
