#include "MixtureEvaluation.h"

#include <algorithm>
#include <cmath>

namespace corvane::ghs::detail {
namespace {

double tolerance(double limit) { return 1e-9 * std::max(1.0, std::abs(limit)); }

bool termNames(const RuleTerm &term, HazardClass hazardClass, const QString &category)
{
    return term.hazardClass == hazardClass && term.categories.contains(category);
}

} // namespace

bool atLeast(double value, double limit) { return value >= limit - tolerance(limit); }

bool atMost(double value, double limit) { return value <= limit + tolerance(limit); }

double upperContent(const Ingredient &ingredient) { return ingredient.content ? ingredient.content->upper : 0; }

std::vector<const ClassEntry *> entriesOf(const Ingredient &ingredient, HazardClass hazardClass)
{
    std::vector<const ClassEntry *> entries;
    for (const ClassEntry &entry : ingredient.classification)
        if (entry.hazardClass == hazardClass)
            entries.push_back(&entry);
    return entries;
}

const MixtureRule *ignoringRule(const std::vector<const MixtureRule *> &rules, HazardClass hazardClass,
                                const QString &category)
{
    for (const MixtureRule *rule : rules)
        if (rule->method == RuleMethod::Ignore)
            for (const RuleTerm &term : rule->terms)
                if (termNames(term, hazardClass, category))
                    return rule;
    return nullptr;
}

bool knownCategory(const std::vector<const MixtureRule *> &rules, HazardClass hazardClass, const QString &category)
{
    for (const MixtureRule *rule : rules)
        for (const RuleTerm &term : rule->terms)
            if (termNames(term, hazardClass, category))
                return true;
    return false;
}

bool unknownFor(const Ingredient &ingredient, HazardClass hazardClass, const std::vector<const MixtureRule *> &rules)
{
    if (std::find(ingredient.unclassifiable.begin(), ingredient.unclassifiable.end(), hazardClass)
        != ingredient.unclassifiable.end())
        return true;
    for (const ClassEntry *entry : entriesOf(ingredient, hazardClass))
        if (!knownCategory(rules, hazardClass, entry->category))
            return true;
    return false;
}

double mFactorOf(const Ingredient &ingredient, HazardClass hazardClass, bool *assumed)
{
    std::optional<double> m;
    if (hazardClass == HazardClass::AquaticAcute)
        m = ingredient.acuteMFactor;
    else if (hazardClass == HazardClass::AquaticChronic)
        m = ingredient.chronicMFactor;
    else
        return 1;
    *assumed = !m.has_value();
    return m.value_or(1);
}

double relevanceLimit(const std::vector<const MixtureRule *> &rules, HazardClass termClass, const QString &category,
                      double mFactor, bool *usesMFactor)
{
    for (const MixtureRule *rule : rules) {
        if (rule->method != RuleMethod::Relevant)
            continue;
        bool applies = rule->anyCategory;
        for (const RuleTerm &term : rule->terms)
            applies = applies || termNames(term, termClass, category);
        if (!applies)
            continue;
        if (usesMFactor)
            *usesMFactor = rule->limitDividedByMFactor;
        return rule->limitDividedByMFactor ? rule->limit / mFactor : rule->limit;
    }
    return 0;
}

QString ruleTag(const MixtureRule &rule)
{
    QString tag = QStringLiteral("［規則 %1、%2").arg(rule.id, rule.clause);
    if (rule.status == RuleStatus::Inferred)
        tag += QStringLiteral("、日本の採用値は推定");
    return tag + QStringLiteral("］");
}

QString categoryText(const QString &category)
{
    if (category == QStringLiteral("追加区分"))
        return hazardClassName(HazardClass::Lactation);
    return QStringLiteral("区分") + category;
}

} // namespace corvane::ghs::detail
