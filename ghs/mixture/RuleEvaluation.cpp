// Every class other than acute toxicity: the rows of the rule table in order, the first that
// applies decides (specific target organ toxicity collects every row that applies).
#include "IngredientCheck.h"
#include "MixtureEvaluation.h"

#include <algorithm>

namespace corvane::ghs::detail {
namespace {

enum class Outcome { Applies, DoesNotApply, Undecidable };

struct RowOutcome {
    Outcome outcome = Outcome::DoesNotApply;
    std::vector<int> ingredients;
    QStringList organs;
    QString detail;    // what was compared, for the basis
    QString undecided; // why the product's data cannot decide
};

void appendUnique(QStringList &list, const QStringList &more)
{
    for (const QString &item : more)
        if (!list.contains(item))
            list.append(item);
}

// Whether the product's data meet the row's conditions; unknown data leave it open.
std::optional<bool> productMeets(const MixtureRule &rule, const ProductProperties &product, QString *missing)
{
    using Property = ProductCondition::Property;
    using Comparison = ProductCondition::Comparison;
    for (const ProductCondition &condition : rule.conditions) {
        std::optional<double> value;
        switch (condition.property) {
        case Property::FlashPoint:
            value = product.flashPointCelsius;
            *missing = QStringLiteral("製品の引火点が不明");
            break;
        case Property::BoilingPoint:
            value = product.initialBoilingPointCelsius;
            *missing = QStringLiteral("製品の初留点が不明");
            break;
        case Property::Viscosity:
            value = product.kinematicViscosity40C;
            *missing = QStringLiteral("製品の40 ℃の動粘性率が不明");
            break;
        case Property::Gas:
            if (!product.isGas) {
                *missing = QStringLiteral("製品が気体かどうか不明");
                return std::nullopt;
            }
            if (!*product.isGas)
                return false;
            continue;
        }
        if (!value)
            return std::nullopt;
        bool met = false;
        switch (condition.comparison) {
        case Comparison::Less: met = !atLeast(*value, condition.value); break;
        case Comparison::LessOrEqual: met = atMost(*value, condition.value); break;
        case Comparison::Greater: met = !atMost(*value, condition.value); break;
        case Comparison::GreaterOrEqual: met = atLeast(*value, condition.value); break;
        case Comparison::IsTrue: met = true; break;
        }
        if (!met)
            return false;
    }
    return true;
}

// "引火点 10 ℃、初留点 40 ℃": the product's data a product-only row was judged on.
QString productDataText(const MixtureRule &rule, const ProductProperties &product)
{
    using Property = ProductCondition::Property;
    QStringList texts;
    for (const ProductCondition &condition : rule.conditions) {
        QString text;
        if (condition.property == Property::FlashPoint && product.flashPointCelsius)
            text = QStringLiteral("引火点 %1 ℃").arg(percentText(*product.flashPointCelsius));
        else if (condition.property == Property::BoilingPoint && product.initialBoilingPointCelsius)
            text = QStringLiteral("初留点 %1 ℃").arg(percentText(*product.initialBoilingPointCelsius));
        else if (condition.property == Property::Viscosity && product.kinematicViscosity40C)
            text = QStringLiteral("動粘性率 %1 mm²/s（40 ℃）").arg(percentText(*product.kinematicViscosity40C));
        if (!text.isEmpty() && !texts.contains(text))
            texts.append(text);
    }
    return texts.join(QStringLiteral("、"));
}

// The entry of the ingredient a term names, if any.
const ClassEntry *namedEntry(const Ingredient &ingredient, const RuleTerm &term,
                             const std::vector<const MixtureRule *> &rules)
{
    for (const ClassEntry *entry : entriesOf(ingredient, term.hazardClass)) {
        if (!term.categories.contains(entry->category) || ignoringRule(rules, term.hazardClass, entry->category))
            continue;
        if (!term.effect.isEmpty() && !entry->organs.contains(term.effect))
            continue;
        return entry;
    }
    return nullptr;
}

class ClassEvaluation {
public:
    ClassEvaluation(HazardClass hazardClass, const MixtureView &mixture, const MixtureRuleTable &table)
        : m_class(hazardClass), m_mixture(mixture), m_rules(table.rulesFor(hazardClass))
    {
        m_result.hazardClass = hazardClass;
    }

    ClassResult run();

private:
    RowOutcome cutOff(const MixtureRule &rule);
    RowOutcome sum(const MixtureRule &rule);
    void decide(const MixtureRule &rule, const RowOutcome &outcome);
    void noteIgnoredCategories();
    void noteUnknownOrNothing();
    void testData();
    QString listOf(const std::vector<int> &substanceNumbers) const;

    HazardClass m_class;
    const MixtureView &m_mixture;
    const std::vector<const MixtureRule *> &m_rules;
    ClassResult m_result;
    QStringList m_excluded; // ingredients below the relevance limit
};

QString ClassEvaluation::listOf(const std::vector<int> &substanceNumbers) const
{
    QStringList names;
    for (const Ingredient &ingredient : m_mixture.ingredients)
        if (std::find(substanceNumbers.begin(), substanceNumbers.end(), ingredient.substanceNumber)
            != substanceNumbers.end())
            names.append(ingredientLabel(ingredient));
    return names.join(QStringLiteral("、"));
}

RowOutcome ClassEvaluation::cutOff(const MixtureRule &rule)
{
    RowOutcome row;
    QStringList found;
    for (const Ingredient &ingredient : m_mixture.ingredients) {
        const double content = upperContent(ingredient);
        for (const RuleTerm &term : rule.terms) {
            const ClassEntry *entry = namedEntry(ingredient, term, m_rules);
            if (!entry || !atLeast(content, rule.limit))
                continue;
            row.ingredients.push_back(ingredient.substanceNumber);
            appendUnique(row.organs, entry->organs);
            found.append(QStringLiteral("%1 %2%（%3）")
                             .arg(ingredientLabel(ingredient), percentText(content), categoryText(entry->category)));
            break;
        }
    }
    if (!row.ingredients.empty()) {
        row.outcome = Outcome::Applies;
        row.detail = QStringLiteral("%1 ≧ %2%").arg(found.join(QStringLiteral("、")), percentText(rule.limit));
    }
    return row;
}

RowOutcome ClassEvaluation::sum(const MixtureRule &rule)
{
    RowOutcome row;
    double total = 0;
    QStringList parts;
    for (const Ingredient &ingredient : m_mixture.ingredients) {
        const double content = upperContent(ingredient);
        // An ingredient counts once, with its heaviest term (skin 1 and eye 1 together: JIS 2019).
        double weight = 0;
        const ClassEntry *counted = nullptr;
        bool mAssumed = false;
        double m = 1;
        for (const RuleTerm &term : rule.terms) {
            const ClassEntry *entry = namedEntry(ingredient, term, m_rules);
            if (!entry)
                continue;
            bool assumed = false;
            const double factor = mFactorOf(ingredient, m_class, &assumed);
            bool relevanceUsesM = false;
            const double relevance =
                relevanceLimit(m_rules, term.hazardClass, entry->category, factor, &relevanceUsesM);
            if (!atLeast(content, relevance)) {
                const QString text = QStringLiteral("%1 %2%").arg(ingredientLabel(ingredient), percentText(content));
                if (!m_excluded.contains(text))
                    m_excluded.append(text);
                continue;
            }
            const double termWeight = term.weight * (term.timesMFactor ? factor : 1);
            if (termWeight > weight) {
                weight = termWeight;
                counted = entry;
                mAssumed = assumed && (term.timesMFactor || relevanceUsesM);
                m = factor;
            }
        }
        if (!counted)
            continue;
        total += weight * content;
        row.ingredients.push_back(ingredient.substanceNumber);
        if (!rule.terms.front().effect.isEmpty())
            appendUnique(row.organs, {rule.terms.front().effect});
        QString part = QStringLiteral("%1 %2%（%3）")
                           .arg(ingredientLabel(ingredient), percentText(content), categoryText(counted->category));
        if (weight != 1)
            part += QStringLiteral("×%1").arg(percentText(weight));
        if (m_class == HazardClass::AquaticAcute || m_class == HazardClass::AquaticChronic) {
            if (mAssumed
                && std::find(m_result.mFactorAssumed.begin(), m_result.mFactorAssumed.end(), ingredient.substanceNumber)
                       == m_result.mFactorAssumed.end())
                m_result.mFactorAssumed.push_back(ingredient.substanceNumber);
            if (weight != 1 && m != 1)
                part += QStringLiteral("（M = %1）").arg(percentText(m));
        }
        parts.append(part);
    }
    if (!row.ingredients.empty() && atLeast(total, rule.limit)) {
        row.outcome = Outcome::Applies;
        row.detail = QStringLiteral("%1 = %2% ≧ %3%")
                         .arg(parts.join(QStringLiteral(" + ")), percentText(total), percentText(rule.limit));
    }
    return row;
}

void ClassEvaluation::decide(const MixtureRule &rule, const RowOutcome &outcome)
{
    Finding finding{rule.result, outcome.organs, outcome.ingredients, rule.id};
    // An organ already under category 1 is not repeated under category 2.
    if (rule.result == QStringLiteral("2") && !finding.organs.isEmpty()) {
        for (const Finding &earlier : m_result.findings)
            if (earlier.category == QStringLiteral("1"))
                for (const QString &organ : earlier.organs)
                    finding.organs.removeAll(organ);
        if (finding.organs.isEmpty())
            return;
    }
    m_result.verdict = Verdict::Classified;
    m_result.inferredRule = m_result.inferredRule || rule.status == RuleStatus::Inferred;
    QString line = QStringLiteral("%1: %2").arg(categoryText(rule.result), outcome.detail);
    if (!finding.organs.isEmpty())
        line += QStringLiteral("（%1）").arg(finding.organs.join(QStringLiteral("、")));
    m_result.basis.append(line + ruleTag(rule));
    m_result.findings.push_back(std::move(finding));
}

void ClassEvaluation::noteIgnoredCategories()
{
    for (const Ingredient &ingredient : m_mixture.ingredients) {
        for (const ClassEntry *entry : entriesOf(ingredient, m_class)) {
            if (const MixtureRule *rule = ignoringRule(m_rules, m_class, entry->category)) {
                m_result.basis.append(
                    QStringLiteral("%1の%2は日本で採用されていない区分のため数えない%3")
                        .arg(ingredientLabel(ingredient), categoryText(entry->category), ruleTag(*rule)));
                m_result.inferredRule = m_result.inferredRule || rule->status == RuleStatus::Inferred;
            }
        }
    }
}

// Nothing applied: not classified, unless an ingredient (or the rest of the product) could
// have decided and is of unknown hazard.
void ClassEvaluation::noteUnknownOrNothing()
{
    double smallest = -1;
    for (const MixtureRule *rule : m_rules) {
        if (rule->method != RuleMethod::Relevant && rule->method != RuleMethod::CutOff
            && rule->method != RuleMethod::Sum)
            continue;
        if (smallest < 0 || rule->limit < smallest)
            smallest = rule->limit;
    }
    QStringList unknown;
    for (const Ingredient &ingredient : m_mixture.ingredients)
        if (unknownFor(ingredient, m_class, m_rules) && atLeast(upperContent(ingredient), smallest))
            unknown.append(
                QStringLiteral("%1 %2%").arg(ingredientLabel(ingredient), percentText(upperContent(ingredient))));
    if (!m_mixture.product.remainderHarmless && m_mixture.remainderPercent > 0
        && atLeast(m_mixture.remainderPercent, smallest))
        unknown.append(QStringLiteral("成分表にない残り %1%").arg(percentText(m_mixture.remainderPercent)));
    if (unknown.isEmpty())
        return;
    const QString text = QStringLiteral("危険有害性が不明な成分を含む: %1").arg(unknown.join(QStringLiteral("、")));
    if (m_result.verdict == Verdict::Classified) {
        m_result.basis.append(text + QStringLiteral("（区分はより重い可能性がある）"));
    } else {
        m_result.verdict = Verdict::CannotClassify;
        m_result.reason = text;
    }
}

void ClassEvaluation::testData()
{
    m_result.verdict = Verdict::DecidedByTestData;
    m_result.reason = QStringLiteral("試験データにより判断");
    QStringList carriers;
    for (const Ingredient &ingredient : m_mixture.ingredients) {
        const std::vector<const ClassEntry *> entries = entriesOf(ingredient, m_class);
        if (entries.empty())
            continue;
        m_result.carriers.push_back(ingredient.substanceNumber);
        carriers.append(
            QStringLiteral("%1（%2）").arg(ingredientLabel(ingredient), categoryText(entries.front()->category)));
    }
    m_result.basis.append(
        carriers.isEmpty() ? QStringLiteral("この危険性に分類された成分はない")
                           : QStringLiteral("この危険性に分類された成分: %1").arg(carriers.join(QStringLiteral("、"))));
}

ClassResult ClassEvaluation::run()
{
    const bool collectsAll = m_class == HazardClass::StotSingle || m_class == HazardClass::StotRepeated;
    bool productOnly = !m_rules.empty();
    for (const MixtureRule *rule : m_rules) {
        if (rule->method == RuleMethod::TestData) {
            testData();
            return m_result;
        }
        productOnly = productOnly && rule->method == RuleMethod::ProductOnly;
    }
    noteIgnoredCategories();

    for (const MixtureRule *rule : m_rules) {
        RowOutcome row;
        switch (rule->method) {
        case RuleMethod::CutOff: row = cutOff(*rule); break;
        case RuleMethod::Sum: row = sum(*rule); break;
        case RuleMethod::ProductOnly: row.outcome = Outcome::Applies; break;
        default: continue;
        }
        if (row.outcome == Outcome::Applies && !rule->conditions.empty()) {
            const std::optional<bool> meets = productMeets(*rule, m_mixture.product, &row.undecided);
            if (!meets) {
                row.outcome = Outcome::Undecidable;
            } else if (!*meets) {
                row.outcome = Outcome::DoesNotApply;
            } else {
                const QString data = productDataText(*rule, m_mixture.product);
                if (rule->method == RuleMethod::ProductOnly)
                    row.detail = data;
                else if (!data.isEmpty())
                    row.detail += QStringLiteral("、") + data;
            }
        }
        if (row.outcome == Outcome::DoesNotApply)
            continue;
        if (row.outcome == Outcome::Undecidable || rule->status == RuleStatus::Unverified) {
            // A row that may apply but cannot decide: a more severe category is not ruled out.
            m_result.verdict = Verdict::CannotClassify;
            m_result.findings.clear();
            m_result.reason =
                row.outcome == Outcome::Undecidable
                    ? QStringLiteral("%1のため判定できない（規則 %2）").arg(row.undecided, rule->id)
                    : QStringLiteral(
                          "規則 %1 の値を出典で確認できていないため、プログラムでは判定しない（手作業で確認が必要）: %2")
                          .arg(rule->id, row.detail);
            break;
        }
        decide(*rule, row);
        if (!collectsAll)
            break;
    }

    if (!m_result.mFactorAssumed.empty())
        m_result.basis.append(
            QStringLiteral("M係数の情報がないため M = 1 とした: %1").arg(listOf(m_result.mFactorAssumed)));
    if (!m_excluded.isEmpty())
        m_result.basis.append(
            QStringLiteral("関連成分の濃度に満たないため数えない: %1").arg(m_excluded.join(QStringLiteral("、"))));
    if (productOnly) {
        for (const Ingredient &ingredient : m_mixture.ingredients)
            if (!entriesOf(ingredient, m_class).empty())
                m_result.carriers.push_back(ingredient.substanceNumber);
        if (!m_result.carriers.empty())
            m_result.basis.append(QStringLiteral("この危険性に分類された成分: %1").arg(listOf(m_result.carriers)));
    } else if (m_result.verdict != Verdict::CannotClassify) {
        noteUnknownOrNothing();
    }
    if (m_result.verdict == Verdict::NotClassified && m_result.reason.isEmpty())
        m_result.reason = productOnly ? QStringLiteral("製品の値がどの区分の判定基準にも当たらない")
                                      : QStringLiteral("どの規則の濃度限界にも達しない");
    return m_result;
}

} // namespace

ClassResult classifyByRules(HazardClass hazardClass, const MixtureView &mixture, const MixtureRuleTable &table)
{
    return ClassEvaluation(hazardClass, mixture, table).run();
}

} // namespace corvane::ghs::detail
