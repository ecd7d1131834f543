#include "HazardRules.h"

#include <algorithm>
#include <array>
#include <vector>

namespace corvane::mastersource {
namespace {

constexpr auto D = Signal::Danger;
constexpr auto W = Signal::Warning;
constexpr auto E = Signal::Either;
constexpr auto N = Signal::None;

constexpr std::array kHazardRules{
    // Physical hazards
    HazardRule{200, D, 1},
    HazardRule{201, D, 1},
    HazardRule{202, D, 1},
    HazardRule{203, D, 1},
    HazardRule{204, W, 1},
    HazardRule{205, D, 0},
    HazardRule{220, D, 2},
    HazardRule{221, W, 0},
    HazardRule{222, D, 2},
    HazardRule{223, W, 2},
    HazardRule{224, D, 2},
    HazardRule{225, D, 2},
    HazardRule{226, W, 2},
    HazardRule{227, W, 0},
    HazardRule{228, E, 2},
    HazardRule{229, W, 0},
    HazardRule{230, N, 0},
    HazardRule{231, N, 0},
    HazardRule{232, D, 2},
    HazardRule{240, D, 1},
    HazardRule{241, D, 1, Ghs07Reason::None, 2},
    HazardRule{242, E, 2},
    HazardRule{250, D, 2},
    HazardRule{251, D, 2},
    HazardRule{252, W, 2},
    HazardRule{260, D, 2},
    HazardRule{261, E, 2},
    HazardRule{270, D, 3},
    HazardRule{271, D, 3},
    HazardRule{272, E, 3},
    HazardRule{280, W, 4},
    HazardRule{281, W, 4},
    HazardRule{290, W, 5},
    // Health hazards
    HazardRule{300, D, 6},
    HazardRule{301, D, 6},
    HazardRule{302, W, 7, Ghs07Reason::AcuteToxicity},
    HazardRule{303, W, 0},
    HazardRule{304, D, 8},
    HazardRule{305, W, 8},
    HazardRule{310, D, 6},
    HazardRule{311, D, 6},
    HazardRule{312, W, 7, Ghs07Reason::AcuteToxicity},
    HazardRule{313, W, 0},
    HazardRule{314, D, 5},
    HazardRule{315, W, 7, Ghs07Reason::Irritation},
    HazardRule{316, W, 0},
    HazardRule{317, W, 7, Ghs07Reason::SkinSensitisation},
    HazardRule{318, D, 5},
    HazardRule{319, W, 7, Ghs07Reason::Irritation},
    HazardRule{320, W, 0},
    HazardRule{330, D, 6},
    HazardRule{331, D, 6},
    HazardRule{332, W, 7, Ghs07Reason::AcuteToxicity},
    HazardRule{333, W, 0},
    HazardRule{334, D, 8},
    HazardRule{335, W, 7, Ghs07Reason::Other},
    HazardRule{336, W, 7, Ghs07Reason::Other},
    HazardRule{340, D, 8},
    HazardRule{341, W, 8},
    HazardRule{350, D, 8},
    HazardRule{351, W, 8},
    HazardRule{360, D, 8},
    HazardRule{361, W, 8},
    HazardRule{362, N, 0},
    HazardRule{370, D, 8},
    HazardRule{371, W, 8},
    HazardRule{372, D, 8},
    HazardRule{373, W, 8},
    // Environmental hazards
    HazardRule{400, W, 9},
    HazardRule{401, N, 0},
    HazardRule{402, N, 0},
    HazardRule{410, W, 9},
    HazardRule{411, N, 9},
    HazardRule{412, N, 0},
    HazardRule{413, N, 0},
    HazardRule{420, W, 7, Ghs07Reason::Other},
};

const std::vector<HazardCategories> &hazardCategories()
{
    static const std::vector<HazardCategories> table{
        {QStringLiteral("H228"), {QStringLiteral("1")}, {QStringLiteral("2")}}, // flammable solids
        {QStringLiteral("H242"),
         {QStringLiteral("C"), QStringLiteral("D")},                            // self-reactive substances,
         {QStringLiteral("E"), QStringLiteral("F")}},                           // organic peroxides: type
        {QStringLiteral("H261"), {QStringLiteral("2")}, {QStringLiteral("3")}}, // water-reactive
        {QStringLiteral("H272"), {QStringLiteral("2")}, {QStringLiteral("3")}}, // oxidising liquids, solids
    };
    return table;
}

} // namespace

const HazardCategories *categoriesOf(const QString &code)
{
    for (const HazardCategories &entry : hazardCategories())
        if (entry.code == code)
            return &entry;
    return nullptr;
}

QString categoryCodes()
{
    QStringList codes;
    for (const HazardCategories &entry : hazardCategories())
        codes.append(entry.code);
    return codes.join(QLatin1Char(','));
}

const HazardRule *hazardRule(int code)
{
    const auto it = std::find_if(kHazardRules.begin(), kHazardRules.end(),
                                 [code](const HazardRule &rule) { return rule.code == code; });
    return it == kHazardRules.end() ? nullptr : &*it;
}

QString pictogramName(int number) { return QStringLiteral("GHS%1").arg(number, 2, 10, QLatin1Char('0')); }

} // namespace corvane::mastersource
