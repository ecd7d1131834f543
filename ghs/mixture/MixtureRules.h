#pragma once
#include "HazardClass.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace corvane::ghs {

// How a row of the rule table works.
enum class RuleMethod {
    Relevant,    // ingredients of these categories count only from `limit` % (÷M when marked)
    Ignore,      // categories Japan does not use: such ingredients count as not hazardous
    CutOff,      // one ingredient of these categories at ≥ limit % gives `result`
    Sum,         // Σ weight × content over the terms ≥ limit % gives `result`
    AtePoint,    // converted acute toxicity point estimate of an ingredient category
    AteBand,     // an acute toxicity estimate ≤ limit gives `result`
    AteUnknown,  // above limit % of unknown acute toxicity the formula is corrected
    ProductOnly, // the product's own data alone decide (flash point ...)
    TestData,    // not computed from ingredients: decided by tests of the product
};

// Whether the source of a row was read: confirmed rows decide; inferred rows decide and the
// result says the Japanese value is inferred; unverified rows never decide, a mixture they
// would apply to cannot be classified by the program.
enum class RuleStatus { Confirmed, Inferred, Unverified };

// One term of a sum or cut-off: ingredients classified in one of `categories` of
// `hazardClass` (and, if `effect` is set, naming that effect among the organs).
struct RuleTerm {
    HazardClass hazardClass = HazardClass::AcuteOral;
    QStringList categories;
    QString effect;
    double weight = 1;
    bool timesMFactor = false;
};

// A condition on the product's own data, e.g. flash point < 23 °C.
struct ProductCondition {
    enum class Property { FlashPoint, BoilingPoint, Viscosity, Gas } property = Property::FlashPoint;
    enum class Comparison { Less, LessOrEqual, Greater, GreaterOrEqual, IsTrue } comparison = Comparison::IsTrue;
    double value = 0;
};

struct MixtureRule {
    QString id;
    std::vector<HazardClass> classes;
    RuleMethod method = RuleMethod::CutOff;
    std::vector<RuleTerm> terms;
    bool anyCategory = false; // Relevant rows written with "*"
    double limit = 0;
    bool limitDividedByMFactor = false;
    QString result; // the mixture's category
    std::vector<ProductCondition> conditions;
    RuleStatus status = RuleStatus::Confirmed;
    QString clause;      // the GHS paragraph or table
    QStringList sources; // keys of mixture_rule_sources.tsv
    QString note;
};

struct RuleSource {
    QString key, title, address, whatWasRead;
};

class MixtureRuleTable {
public:
    MixtureRuleTable() = default;
    // The per-class index points into the rows: moving keeps it valid, copying would not.
    MixtureRuleTable(MixtureRuleTable &&) = default;
    MixtureRuleTable &operator=(MixtureRuleTable &&) = default;
    MixtureRuleTable(const MixtureRuleTable &) = delete;
    MixtureRuleTable &operator=(const MixtureRuleTable &) = delete;

    // Reads the two tables; errors name the line.
    static MixtureRuleTable parse(const QString &rulesText, const QString &sourcesText, QStringList *errors);

    const std::vector<MixtureRule> &rules() const { return m_rules; }
    const std::vector<RuleSource> &sources() const { return m_sources; }
    // The rows for one class, in table order (the most severe category first).
    const std::vector<const MixtureRule *> &rulesFor(HazardClass hazardClass) const;
    const MixtureRule *rule(const QString &id) const;
    const RuleSource *source(const QString &key) const;

private:
    std::vector<MixtureRule> m_rules;
    std::vector<RuleSource> m_sources;
    std::vector<std::vector<const MixtureRule *>> m_byClass;
};

// The table shipped in the program (":/ghs/mixture_rules.tsv"), read once.
const MixtureRuleTable &mixtureRules();

} // namespace corvane::ghs
