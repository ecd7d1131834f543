#include "IngredientCheck.h"

#include <QLocale>

#include <cmath>

namespace corvane::ghs {
namespace {

// Contents are typed with a few decimals; sums of them must not fail on rounding.
constexpr double kSumTolerance = 1e-6;

bool isPercent(double value) { return std::isfinite(value) && value >= 0 && value <= 100; }

} // namespace

QString ingredientLabel(const Ingredient &ingredient)
{
    return QStringLiteral("%1（物質番号 %2）").arg(ingredient.name).arg(ingredient.substanceNumber);
}

QString percentText(double percent) { return QLocale::c().toString(percent, 'g', 6); }

std::vector<Refusal> checkIngredients(const std::vector<Ingredient> &ingredients)
{
    std::vector<Refusal> refusals;
    auto refuse = [&refusals](const Ingredient &ingredient, const QString &message) {
        refusals.push_back({{ingredient.substanceNumber}, message});
    };
    double leastTotal = 0;
    std::vector<int> counted;
    QStringList countedNames;
    for (const Ingredient &ingredient : ingredients) {
        const QString who = ingredientLabel(ingredient);
        if (!ingredient.content) {
            refuse(ingredient, QStringLiteral("%1の含有率が入力されていません。").arg(who));
            continue;
        }
        const Content &content = *ingredient.content;
        bool usable = true;
        for (double bound : {content.upper, content.lower.value_or(content.upper)}) {
            if (!isPercent(bound)) {
                refuse(ingredient,
                       QStringLiteral("%1の含有率 %2% は0〜100%の範囲外です。").arg(who, percentText(bound)));
                usable = false;
                break;
            }
        }
        if (usable && content.lower && *content.lower > content.upper) {
            refuse(ingredient, QStringLiteral("%1の含有率の範囲 %2-%3% は下限が上限を超えています。")
                                   .arg(who, percentText(*content.lower), percentText(content.upper)));
            usable = false;
        }
        for (const std::optional<double> &m : {ingredient.acuteMFactor, ingredient.chronicMFactor}) {
            if (m && !(std::isfinite(*m) && *m >= 1)) {
                refuse(ingredient,
                       QStringLiteral("%1のM係数 %2 は1以上でなければなりません。").arg(who, percentText(*m)));
                break;
            }
        }
        if (usable) {
            leastTotal += content.least();
            counted.push_back(ingredient.substanceNumber);
            countedNames.append(QStringLiteral("%1 %2%").arg(who, percentText(content.least())));
        }
    }
    // With ranges only the lower bounds must fit in the product.
    if (leastTotal > 100 + kSumTolerance) {
        refusals.push_back({counted, QStringLiteral("含有率の合計が %1% で100%を超えています（範囲は下限で合計）: %2")
                                         .arg(percentText(leastTotal), countedNames.join(QStringLiteral("、")))});
    }
    return refusals;
}

} // namespace corvane::ghs
