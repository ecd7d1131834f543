#include "HazardClass.h"

#include <array>

namespace corvane::ghs {
namespace {

struct ClassNames {
    HazardClass hazardClass;
    const char *key;
    const char *name;
};

constexpr std::array kClasses{
    ClassNames{HazardClass::Explosives, "Explosives", "爆発物"},
    ClassNames{HazardClass::FlammableGases, "FlammableGases", "可燃性ガス"},
    ClassNames{HazardClass::Aerosols, "Aerosols", "エアゾール"},
    ClassNames{HazardClass::OxidisingGases, "OxidisingGases", "酸化性ガス"},
    ClassNames{HazardClass::GasesUnderPressure, "GasesUnderPressure", "高圧ガス"},
    ClassNames{HazardClass::FlammableLiquids, "FlammableLiquids", "引火性液体"},
    ClassNames{HazardClass::FlammableSolids, "FlammableSolids", "可燃性固体"},
    ClassNames{HazardClass::SelfReactive, "SelfReactive", "自己反応性化学品"},
    ClassNames{HazardClass::PyrophoricLiquids, "PyrophoricLiquids", "自然発火性液体"},
    ClassNames{HazardClass::PyrophoricSolids, "PyrophoricSolids", "自然発火性固体"},
    ClassNames{HazardClass::SelfHeating, "SelfHeating", "自己発熱性化学品"},
    ClassNames{HazardClass::WaterReactive, "WaterReactive", "水反応可燃性化学品"},
    ClassNames{HazardClass::OxidisingLiquids, "OxidisingLiquids", "酸化性液体"},
    ClassNames{HazardClass::OxidisingSolids, "OxidisingSolids", "酸化性固体"},
    ClassNames{HazardClass::OrganicPeroxides, "OrganicPeroxides", "有機過酸化物"},
    ClassNames{HazardClass::CorrosiveToMetals, "CorrosiveToMetals", "金属腐食性化学品"},
    ClassNames{HazardClass::DesensitisedExplosives, "DesensitisedExplosives", "鈍性化爆発物"},
    ClassNames{HazardClass::AcuteOral, "AcuteOral", "急性毒性（経口）"},
    ClassNames{HazardClass::AcuteDermal, "AcuteDermal", "急性毒性（経皮）"},
    ClassNames{HazardClass::AcuteInhalationGas, "AcuteInhalationGas", "急性毒性（吸入：ガス）"},
    ClassNames{HazardClass::AcuteInhalationVapour, "AcuteInhalationVapour", "急性毒性（吸入：蒸気）"},
    ClassNames{HazardClass::AcuteInhalationDust, "AcuteInhalationDust", "急性毒性（吸入：粉塵、ミスト）"},
    ClassNames{HazardClass::SkinCorrosion, "SkinCorrosion", "皮膚腐食性／刺激性"},
    ClassNames{HazardClass::EyeDamage, "EyeDamage", "眼に対する重篤な損傷性／眼刺激性"},
    ClassNames{HazardClass::RespiratorySensitisation, "RespiratorySensitisation", "呼吸器感作性"},
    ClassNames{HazardClass::SkinSensitisation, "SkinSensitisation", "皮膚感作性"},
    ClassNames{HazardClass::GermCellMutagenicity, "GermCellMutagenicity", "生殖細胞変異原性"},
    ClassNames{HazardClass::Carcinogenicity, "Carcinogenicity", "発がん性"},
    ClassNames{HazardClass::ReproductiveToxicity, "ReproductiveToxicity", "生殖毒性"},
    ClassNames{HazardClass::Lactation, "Lactation", "授乳に対するまたは授乳を介した影響に関する追加区分"},
    ClassNames{HazardClass::StotSingle, "StotSingle", "特定標的臓器毒性（単回暴露）"},
    ClassNames{HazardClass::StotRepeated, "StotRepeated", "特定標的臓器毒性（反復暴露）"},
    ClassNames{HazardClass::Aspiration, "Aspiration", "誤えん有害性"},
    ClassNames{HazardClass::AquaticAcute, "AquaticAcute", "水生環境有害性　短期（急性）"},
    ClassNames{HazardClass::AquaticChronic, "AquaticChronic", "水生環境有害性　長期（慢性）"},
    ClassNames{HazardClass::OzoneLayer, "OzoneLayer", "オゾン層への有害性"},
};

const ClassNames &namesOf(HazardClass hazardClass) { return kClasses[static_cast<size_t>(hazardClass)]; }

} // namespace

const std::vector<HazardClass> &allHazardClasses()
{
    static const std::vector<HazardClass> classes = [] {
        std::vector<HazardClass> all;
        for (const ClassNames &names : kClasses)
            all.push_back(names.hazardClass);
        return all;
    }();
    return classes;
}

QString hazardClassName(HazardClass hazardClass) { return QString::fromUtf8(namesOf(hazardClass).name); }

QString hazardClassKey(HazardClass hazardClass) { return QString::fromLatin1(namesOf(hazardClass).key); }

std::optional<HazardClass> hazardClassFromKey(const QString &key)
{
    for (const ClassNames &names : kClasses)
        if (key == QLatin1String(names.key))
            return names.hazardClass;
    return std::nullopt;
}

} // namespace corvane::ghs
