#include "LegalDuty.h"

#include "IngredientCheck.h"
#include "MixtureEvaluation.h"

namespace corvane::ghs {

LegalDuty legalDutyOf(const std::vector<Ingredient> &ingredients)
{
    LegalDuty duty;
    duty.refusals = checkIngredients(ingredients);
    if (!duty.refusals.empty())
        return duty;
    QStringList labelNames, sdsNames;
    for (const Ingredient &ingredient : ingredients) {
        // The duty holds at or above the cut-off; a range is judged by its upper bound.
        const double content = ingredient.content->upper;
        const QString text = QStringLiteral("%1 %2%").arg(ingredientLabel(ingredient), percentText(content));
        if (ingredient.labelCutOffPercent && detail::atLeast(content, *ingredient.labelCutOffPercent)) {
            duty.labelIngredients.push_back(ingredient.substanceNumber);
            labelNames.append(QStringLiteral("%1 ≧ %2%").arg(text, percentText(*ingredient.labelCutOffPercent)));
        }
        if (ingredient.sdsCutOffPercent && detail::atLeast(content, *ingredient.sdsCutOffPercent)) {
            duty.sdsIngredients.push_back(ingredient.substanceNumber);
            sdsNames.append(QStringLiteral("%1 ≧ %2%").arg(text, percentText(*ingredient.sdsCutOffPercent)));
        }
    }
    duty.labelRequired = !duty.labelIngredients.empty();
    duty.sdsRequired = !duty.sdsIngredients.empty();
    duty.basis.append(duty.labelRequired
                          ? QStringLiteral("ラベル表示の義務がある: %1").arg(labelNames.join(QStringLiteral("、")))
                          : QStringLiteral("ラベル表示の裾切値以上の表示義務対象物質を含まない"));
    duty.basis.append(duty.sdsRequired
                          ? QStringLiteral("SDS交付の義務がある: %1").arg(sdsNames.join(QStringLiteral("、")))
                          : QStringLiteral("SDS交付の裾切値以上の通知義務対象物質を含まない"));
    return duty;
}

} // namespace corvane::ghs
