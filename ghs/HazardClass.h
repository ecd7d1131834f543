#pragma once
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace corvane::ghs {

// The hazard classes of the government's classification lists, in the order of their columns.
// Lactation is the additional category of reproductive toxicity; the lists write it in the
// reproductive toxicity cell, but its label element and its mixture cut-off are its own.
enum class HazardClass {
    // Physical hazards
    Explosives,
    FlammableGases,
    Aerosols,
    OxidisingGases,
    GasesUnderPressure,
    FlammableLiquids,
    FlammableSolids,
    SelfReactive,
    PyrophoricLiquids,
    PyrophoricSolids,
    SelfHeating,
    WaterReactive,
    OxidisingLiquids,
    OxidisingSolids,
    OrganicPeroxides,
    CorrosiveToMetals,
    DesensitisedExplosives,
    // Health hazards
    AcuteOral,
    AcuteDermal,
    AcuteInhalationGas,
    AcuteInhalationVapour,
    AcuteInhalationDust,
    SkinCorrosion,
    EyeDamage,
    RespiratorySensitisation,
    SkinSensitisation,
    GermCellMutagenicity,
    Carcinogenicity,
    ReproductiveToxicity,
    Lactation,
    StotSingle,
    StotRepeated,
    Aspiration,
    // Environmental hazards
    AquaticAcute,
    AquaticChronic,
    OzoneLayer,
};

// Every class, in the order above.
const std::vector<HazardClass> &allHazardClasses();

// The class's name as the government's list heads its column (lactation: the words of its
// additional category), e.g. 「特定標的臓器毒性（単回暴露）」.
QString hazardClassName(HazardClass hazardClass);

// A stable key for data tables and the database, e.g. "StotSingle".
QString hazardClassKey(HazardClass hazardClass);
std::optional<HazardClass> hazardClassFromKey(const QString &key);

// One classified hazard of a substance: its class, its category as the lists write it after
// normalising ("1", "1A", "2B", "タイプB", "等級1.1", "液化ガス" ...), and for specific target
// organ toxicity the organs or effects named with that category, in the list's order
// (「中枢神経系」「気道刺激性」「麻酔作用」).
// Categories besides the numbered ones, as ghs/ClassificationCell reads them: explosives
// "不安定爆発物", "等級1.1" … "等級1.6"; gases under pressure "圧縮ガス", "液化ガス", "深冷液化ガス",
// "溶解ガス", "低圧液化ガス", "高圧液化ガス" (the last two as older classifications write
// liquefied gases); self-reactive substances and organic peroxides "タイプA" … "タイプG";
// flammable gases "化学的に不安定なガスA" / "化学的に不安定なガスB" (written beside category 1);
// lactation "追加区分" (the list's 「授乳に対するまたは授乳を介した影響に関する追加区分」).
// Organs keep the list's Japanese brackets: 「生殖器（男性）」.
struct ClassEntry {
    HazardClass hazardClass;
    QString category;
    QStringList organs;

    bool operator==(const ClassEntry &) const = default;
};

} // namespace corvane::ghs
