// Acute toxicity of a mixture by the additivity formula of the acute toxicity estimates
// (ATEmix), one exposure route at a time.
#include "IngredientCheck.h"
#include "MixtureEvaluation.h"

#include <algorithm>

namespace corvane::ghs::detail {
namespace {

QString unitOf(HazardClass route)
{
    switch (route) {
    case HazardClass::AcuteInhalationGas: return QStringLiteral("ppmV");
    case HazardClass::AcuteInhalationVapour:
    case HazardClass::AcuteInhalationDust: return QStringLiteral("mg/L");
    default: return QStringLiteral("mg/kg");
    }
}

const MixtureRule *pointEstimateRule(const std::vector<const MixtureRule *> &rules, HazardClass route,
                                     const QString &category)
{
    for (const MixtureRule *rule : rules)
        if (rule->method == RuleMethod::AtePoint && rule->terms.front().hazardClass == route
            && rule->terms.front().categories.contains(category))
            return rule;
    return nullptr;
}

} // namespace

ClassResult classifyAcuteToxicity(HazardClass route, const MixtureView &mixture, const MixtureRuleTable &table)
{
    const std::vector<const MixtureRule *> &rules = table.rulesFor(route);
    ClassResult result;
    result.hazardClass = route;
    const QString unit = unitOf(route);
    const double relevance = relevanceLimit(rules, route, QString(), 1);

    double sumOfRatios = 0; // Σ Ci / ATEi
    double unknown = 0;     // Σ Cunknown over relevant ingredients
    double known = 0;       // Σ Ci of the ingredients in the formula
    QStringList ratioTexts, unknownNames, tooLittle, ignored;
    std::vector<int> deciding;
    for (const Ingredient &ingredient : mixture.ingredients) {
        const double content = upperContent(ingredient);
        const MixtureRule *bestPoint = nullptr;
        for (const ClassEntry *entry : entriesOf(ingredient, route)) {
            if (const MixtureRule *ignore = ignoringRule(rules, route, entry->category)) {
                ignored.append(
                    QStringLiteral("%1（%2）").arg(ingredientLabel(ingredient), categoryText(entry->category)));
                result.inferredRule = result.inferredRule || ignore->status == RuleStatus::Inferred;
            } else if (const MixtureRule *point = pointEstimateRule(rules, route, entry->category)) {
                if (!bestPoint || point->limit < bestPoint->limit)
                    bestPoint = point;
            }
        }
        if (bestPoint) {
            if (!atLeast(content, relevance)) {
                tooLittle.append(QStringLiteral("%1 %2%").arg(ingredientLabel(ingredient), percentText(content)));
                continue;
            }
            sumOfRatios += content / bestPoint->limit;
            known += content;
            deciding.push_back(ingredient.substanceNumber);
            ratioTexts.append(QStringLiteral("%1 %2% ÷ %3（%4の換算値）")
                                  .arg(ingredientLabel(ingredient), percentText(content), percentText(bestPoint->limit),
                                       categoryText(bestPoint->terms.front().categories.front())));
        } else if (unknownFor(ingredient, route, rules) && atLeast(content, relevance)) {
            unknown += content;
            unknownNames.append(QStringLiteral("%1 %2%").arg(ingredientLabel(ingredient), percentText(content)));
        }
    }
    // Ranges count by their upper bounds while the rest is what their lower bounds leave: the
    // unknown share is never more than the ingredients of the formula leave of the product.
    const double rest = std::min(mixture.remainderPercent, std::max(0.0, 100 - known - unknown));
    if (!mixture.product.remainderHarmless && rest > 0 && atLeast(mixture.remainderPercent, relevance)) {
        unknown += rest;
        unknownNames.append(QStringLiteral("成分表にない残り %1%").arg(percentText(rest)));
    }
    unknown = std::min(unknown, std::max(0.0, 100 - known));

    if (!ignored.isEmpty())
        result.basis.append(QStringLiteral("日本で採用されていない区分の成分は急性毒性がないものとして扱った: %1")
                                .arg(ignored.join(QStringLiteral("、"))));
    if (!tooLittle.isEmpty())
        result.basis.append(
            QStringLiteral("%1%未満の成分は加算式に入れない（%2）: %3")
                .arg(percentText(relevance), QStringLiteral("GHS 3.1.3.3 (a)"), tooLittle.join(QStringLiteral("、"))));
    if (unknown > 0) {
        result.unknownPercent = unknown;
        result.basis.append(QStringLiteral("混合物の %1% は急性毒性が不明な成分: %2")
                                .arg(percentText(unknown), unknownNames.join(QStringLiteral("、"))));
    }

    const MixtureRule *unknownRule = nullptr;
    for (const MixtureRule *rule : rules)
        if (rule->method == RuleMethod::AteUnknown)
            unknownRule = rule;
    const bool corrected = unknownRule && !atMost(unknown, unknownRule->limit);

    if (deciding.empty()) {
        if (corrected) {
            result.verdict = Verdict::CannotClassify;
            result.reason =
                QStringLiteral("急性毒性の分かっている関連成分がなく、%1% が不明").arg(percentText(unknown));
        } else {
            result.reason = QStringLiteral("急性毒性に分類された関連成分がない");
        }
        return result;
    }

    const double numerator = corrected ? 100 - unknown : 100;
    if (numerator <= 0) {
        result.verdict = Verdict::CannotClassify;
        result.reason = QStringLiteral("急性毒性が不明な成分が100%に達する");
        return result;
    }
    const double estimate = numerator / sumOfRatios;
    result.acuteToxicityEstimate = estimate;
    const QString formula =
        corrected
            ? QStringLiteral("不明な成分が%1%を超えるので (100 − %2) ÷ ATEmix = Σ(Ci/ATEi)［規則 %3、%4］")
                  .arg(percentText(unknownRule->limit), percentText(unknown), unknownRule->id, unknownRule->clause)
            : QStringLiteral("100 ÷ ATEmix = Σ(Ci/ATEi)［規則 %1、%2］")
                  .arg(unknownRule ? unknownRule->id : QString(), unknownRule ? unknownRule->clause : QString());
    result.basis.append(QStringLiteral("%1: %2 = %3、ATEmix = %4 %5")
                            .arg(formula, ratioTexts.join(QStringLiteral(" + ")), percentText(sumOfRatios),
                                 percentText(estimate), unit));

    for (const MixtureRule *rule : rules) {
        if (rule->method != RuleMethod::AteBand || !atMost(estimate, rule->limit))
            continue;
        result.verdict = Verdict::Classified;
        result.findings.push_back({rule->result, {}, deciding, rule->id});
        result.inferredRule = result.inferredRule || rule->status == RuleStatus::Inferred;
        result.basis.append(QStringLiteral("ATEmix %1 ≦ %2 %3 → %4%5")
                                .arg(percentText(estimate), percentText(rule->limit), unit, categoryText(rule->result),
                                     ruleTag(*rule)));
        return result;
    }
    if (corrected) {
        result.verdict = Verdict::CannotClassify;
        result.reason = QStringLiteral("ATEmix %1 %2 はどの区分にも入らないが、%3% の急性毒性が不明")
                            .arg(percentText(estimate), unit, percentText(unknown));
    } else {
        result.reason = QStringLiteral("ATEmix %1 %2 はどの区分の値も超える").arg(percentText(estimate), unit);
    }
    return result;
}

} // namespace corvane::ghs::detail
