#include "MixtureRules.h"

#include <QFile>
#include <QHash>

#include <array>

namespace corvane::ghs {
namespace {

const std::array<std::pair<const char *, RuleMethod>, 9> kMethods{{
    {"relevant", RuleMethod::Relevant},
    {"ignore", RuleMethod::Ignore},
    {"cutoff", RuleMethod::CutOff},
    {"sum", RuleMethod::Sum},
    {"ate_point", RuleMethod::AtePoint},
    {"ate_band", RuleMethod::AteBand},
    {"ate_unknown", RuleMethod::AteUnknown},
    {"product", RuleMethod::ProductOnly},
    {"test_data", RuleMethod::TestData},
}};

std::optional<RuleMethod> methodFromKey(const QString &key)
{
    for (const auto &[name, method] : kMethods)
        if (key == QLatin1String(name))
            return method;
    return std::nullopt;
}

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// "SkinCorrosion:1/1A*10", "1*10*M", "3(麻酔作用)"
std::optional<RuleTerm> parseTerm(const QString &text, HazardClass rowClass)
{
    RuleTerm term;
    term.hazardClass = rowClass;
    QStringList factors = text.trimmed().split(QLatin1Char('*'));
    QString categories = factors.takeFirst().trimmed();
    const qsizetype colon = categories.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const auto hazardClass = hazardClassFromKey(categories.left(colon));
        if (!hazardClass)
            return std::nullopt;
        term.hazardClass = *hazardClass;
        categories = categories.mid(colon + 1);
    }
    const qsizetype open = categories.indexOf(QLatin1Char('('));
    if (open >= 0) {
        if (!categories.endsWith(QLatin1Char(')')))
            return std::nullopt;
        term.effect = categories.mid(open + 1, categories.size() - open - 2);
        categories = categories.left(open);
    }
    term.categories = categories.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (term.categories.isEmpty())
        return std::nullopt;
    for (const QString &factor : factors) {
        if (factor.trimmed() == QLatin1String("M")) {
            term.timesMFactor = true;
        } else if (const auto weight = number(factor.trimmed())) {
            term.weight *= *weight;
        } else {
            return std::nullopt;
        }
    }
    return term;
}

std::optional<ProductCondition> parseCondition(const QString &text)
{
    using Property = ProductCondition::Property;
    using Comparison = ProductCondition::Comparison;
    ProductCondition condition;
    if (text == QLatin1String("gas")) {
        condition.property = Property::Gas;
        condition.comparison = Comparison::IsTrue;
        return condition;
    }
    static const std::array<std::pair<const char *, Comparison>, 4> comparisons{{
        {"<=", Comparison::LessOrEqual},
        {">=", Comparison::GreaterOrEqual},
        {"<", Comparison::Less},
        {">", Comparison::Greater},
    }};
    for (const auto &[sign, comparison] : comparisons) {
        const qsizetype at = text.indexOf(QLatin1String(sign));
        if (at < 0)
            continue;
        const QString name = text.left(at);
        const auto value = number(text.mid(at + qsizetype(qstrlen(sign))));
        if (!value)
            return std::nullopt;
        if (name == QLatin1String("flash"))
            condition.property = Property::FlashPoint;
        else if (name == QLatin1String("boiling"))
            condition.property = Property::BoilingPoint;
        else if (name == QLatin1String("viscosity"))
            condition.property = Property::Viscosity;
        else
            return std::nullopt;
        condition.comparison = comparison;
        condition.value = *value;
        return condition;
    }
    return std::nullopt;
}

bool needsTerms(RuleMethod method)
{
    return method == RuleMethod::Relevant || method == RuleMethod::Ignore || method == RuleMethod::CutOff
           || method == RuleMethod::Sum || method == RuleMethod::AtePoint;
}

bool needsLimit(RuleMethod method)
{
    return method != RuleMethod::Ignore && method != RuleMethod::ProductOnly && method != RuleMethod::TestData;
}

bool needsResult(RuleMethod method)
{
    return method == RuleMethod::CutOff || method == RuleMethod::Sum || method == RuleMethod::AteBand
           || method == RuleMethod::ProductOnly;
}

} // namespace

MixtureRuleTable MixtureRuleTable::parse(const QString &rulesText, const QString &sourcesText, QStringList *errors)
{
    MixtureRuleTable table;
    auto fail = [errors](const QString &file, int line, const QString &what) {
        errors->append(QStringLiteral("%1 %2行目: %3").arg(file).arg(line).arg(what));
    };

    const QStringList sourceLines = sourcesText.split(QLatin1Char('\n'));
    for (int i = 1; i < sourceLines.size(); ++i) {
        if (sourceLines[i].trimmed().isEmpty())
            continue;
        const QStringList cells = sourceLines[i].split(QLatin1Char('\t'));
        if (cells.size() != 4) {
            fail(QStringLiteral("mixture_rule_sources.tsv"), i + 1, QStringLiteral("列が4つではない"));
            continue;
        }
        table.m_sources.push_back({cells[0], cells[1], cells[2], cells[3]});
    }

    QHash<QString, bool> ids;
    const QStringList lines = rulesText.split(QLatin1Char('\n'));
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        const int lineNumber = i + 1;
        const QString file = QStringLiteral("mixture_rules.tsv");
        const QStringList cells = lines[i].split(QLatin1Char('\t'));
        if (cells.size() != 11) {
            fail(file, lineNumber, QStringLiteral("列が11ではない"));
            continue;
        }
        MixtureRule rule;
        rule.id = cells[0];
        if (rule.id.isEmpty() || ids.contains(rule.id)) {
            fail(file, lineNumber, QStringLiteral("idが空か重複している"));
            continue;
        }
        ids.insert(rule.id, true);
        for (const QString &key : cells[1].split(QLatin1Char(','))) {
            const auto hazardClass = hazardClassFromKey(key.trimmed());
            if (!hazardClass) {
                fail(file, lineNumber, QStringLiteral("未知の危険有害性クラス「%1」").arg(key));
                continue;
            }
            rule.classes.push_back(*hazardClass);
        }
        const auto method = methodFromKey(cells[2]);
        if (!method || rule.classes.empty()) {
            fail(file, lineNumber, QStringLiteral("方法またはクラスが読めない"));
            continue;
        }
        rule.method = *method;

        const QString ingredients = cells[3].trimmed();
        if (ingredients == QLatin1String("*")) {
            rule.anyCategory = true;
        } else if (!ingredients.isEmpty()) {
            for (const QString &text : ingredients.split(QLatin1Char('+'))) {
                const auto term = parseTerm(text, rule.classes.front());
                if (!term) {
                    fail(file, lineNumber, QStringLiteral("成分の項「%1」が読めない").arg(text));
                    continue;
                }
                rule.terms.push_back(*term);
            }
        }
        if (needsTerms(rule.method) && rule.terms.empty() && !rule.anyCategory)
            fail(file, lineNumber, QStringLiteral("成分の項がない"));

        QString limit = cells[4].trimmed();
        if (limit.endsWith(QLatin1String("/M"))) {
            rule.limitDividedByMFactor = true;
            limit.chop(2);
        }
        if (!limit.isEmpty()) {
            const auto value = number(limit);
            if (!value)
                fail(file, lineNumber, QStringLiteral("限界値「%1」が数でない").arg(cells[4]));
            rule.limit = value.value_or(0);
        } else if (needsLimit(rule.method)) {
            fail(file, lineNumber, QStringLiteral("限界値がない"));
        }

        rule.result = cells[5].trimmed();
        if (needsResult(rule.method) && rule.result.isEmpty())
            fail(file, lineNumber, QStringLiteral("混合物の区分がない"));

        for (const QString &text : cells[6].split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
            const auto condition = parseCondition(text.trimmed());
            if (!condition)
                fail(file, lineNumber, QStringLiteral("製品の条件「%1」が読めない").arg(text));
            else
                rule.conditions.push_back(*condition);
        }

        const QString status = cells[7].trimmed();
        if (status == QStringLiteral("確認済"))
            rule.status = RuleStatus::Confirmed;
        else if (status == QStringLiteral("推定"))
            rule.status = RuleStatus::Inferred;
        else if (status == QStringLiteral("未確認"))
            rule.status = RuleStatus::Unverified;
        else
            fail(file, lineNumber, QStringLiteral("状態「%1」は 確認済・推定・未確認 のどれでもない").arg(status));

        rule.clause = cells[8];
        rule.sources = cells[9].split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (rule.sources.isEmpty() && rule.status != RuleStatus::Unverified)
            fail(file, lineNumber, QStringLiteral("確認済・推定の行に出典がない"));
        for (const QString &key : rule.sources)
            if (!table.source(key))
                fail(file, lineNumber, QStringLiteral("出典「%1」が出典表にない").arg(key));
        rule.note = cells[10];
        table.m_rules.push_back(std::move(rule));
    }

    table.m_byClass.resize(allHazardClasses().size());
    for (const MixtureRule &rule : table.m_rules)
        for (HazardClass hazardClass : rule.classes)
            table.m_byClass[static_cast<size_t>(hazardClass)].push_back(&rule);
    return table;
}

const std::vector<const MixtureRule *> &MixtureRuleTable::rulesFor(HazardClass hazardClass) const
{
    return m_byClass[static_cast<size_t>(hazardClass)];
}

const MixtureRule *MixtureRuleTable::rule(const QString &id) const
{
    for (const MixtureRule &rule : m_rules)
        if (rule.id == id)
            return &rule;
    return nullptr;
}

const RuleSource *MixtureRuleTable::source(const QString &key) const
{
    for (const RuleSource &source : m_sources)
        if (source.key == key)
            return &source;
    return nullptr;
}

const MixtureRuleTable &mixtureRules()
{
    static const MixtureRuleTable table = [] {
        auto read = [](const QString &path) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                qFatal("%s is missing from the program", qPrintable(path));
            return QString::fromUtf8(file.readAll());
        };
        QStringList errors;
        MixtureRuleTable parsed =
            MixtureRuleTable::parse(read(QStringLiteral(":/ghs/mixture_rules.tsv")),
                                    read(QStringLiteral(":/ghs/mixture_rule_sources.tsv")), &errors);
        // The tables are part of the program; a broken row is a fault of the build.
        if (!errors.isEmpty())
            qFatal("mixture rule table: %s", qPrintable(errors.join(QLatin1Char('\n'))));
        return parsed;
    }();
    return table;
}

} // namespace corvane::ghs
