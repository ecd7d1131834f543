#include "ClassificationCell.h"

#include <QRegularExpression>

namespace corvane::ghs {
namespace {

const QString kLactation = QStringLiteral("授乳に対するまたは授乳を介した影響に関する追加区分");

// The category words each class's column may hold. Numbered categories are checked against
// the ones the class has; the rest are whole words.
struct ClassCategories {
    HazardClass hazardClass;
    QStringList categories;
};

QStringList list(const char *text) { return QString::fromUtf8(text).split(QLatin1Char(' ')); }

const std::vector<ClassCategories> &knownCategories()
{
    static const std::vector<ClassCategories> table{
        {HazardClass::Explosives, list("不安定爆発物 等級1.1 等級1.2 等級1.3 等級1.4 等級1.5 等級1.6")},
        {HazardClass::FlammableGases, list("1 2 化学的に不安定なガスA 化学的に不安定なガスB")},
        {HazardClass::Aerosols, list("1 2 3")},
        {HazardClass::OxidisingGases, list("1")},
        {HazardClass::GasesUnderPressure, list("圧縮ガス 液化ガス 深冷液化ガス 溶解ガス 低圧液化ガス 高圧液化ガス")},
        {HazardClass::FlammableLiquids, list("1 2 3 4")},
        {HazardClass::FlammableSolids, list("1 2")},
        {HazardClass::SelfReactive, list("タイプA タイプB タイプC タイプD タイプE タイプF タイプG")},
        {HazardClass::PyrophoricLiquids, list("1")},
        {HazardClass::PyrophoricSolids, list("1")},
        {HazardClass::SelfHeating, list("1 2")},
        {HazardClass::WaterReactive, list("1 2 3")},
        {HazardClass::OxidisingLiquids, list("1 2 3")},
        {HazardClass::OxidisingSolids, list("1 2 3")},
        {HazardClass::OrganicPeroxides, list("タイプA タイプB タイプC タイプD タイプE タイプF タイプG")},
        {HazardClass::CorrosiveToMetals, list("1")},
        {HazardClass::DesensitisedExplosives, list("1 2 3 4")},
        {HazardClass::AcuteOral, list("1 2 3 4 5")},
        {HazardClass::AcuteDermal, list("1 2 3 4 5")},
        {HazardClass::AcuteInhalationGas, list("1 2 3 4 5")},
        {HazardClass::AcuteInhalationVapour, list("1 2 3 4 5")},
        {HazardClass::AcuteInhalationDust, list("1 2 3 4 5")},
        {HazardClass::SkinCorrosion, list("1 1A 1B 1C 2 3")},
        {HazardClass::EyeDamage, list("1 2 2A 2B")},
        {HazardClass::RespiratorySensitisation, list("1 1A 1B")},
        {HazardClass::SkinSensitisation, list("1 1A 1B")},
        {HazardClass::GermCellMutagenicity, list("1 1A 1B 2")},
        {HazardClass::Carcinogenicity, list("1 1A 1B 2")},
        {HazardClass::ReproductiveToxicity, list("1 1A 1B 2")},
        {HazardClass::Lactation, list("追加区分")},
        {HazardClass::StotSingle, list("1 2 3")},
        {HazardClass::StotRepeated, list("1 2")},
        {HazardClass::Aspiration, list("1 2")},
        {HazardClass::AquaticAcute, list("1 2 3")},
        {HazardClass::AquaticChronic, list("1 2 3 4")},
        {HazardClass::OzoneLayer, list("1")},
    };
    return table;
}

bool knownCategory(HazardClass hazardClass, const QString &category)
{
    for (const ClassCategories &entry : knownCategories())
        if (entry.hazardClass == hazardClass)
            return entry.categories.contains(category);
    return false;
}

bool isStot(HazardClass hazardClass)
{
    return hazardClass == HazardClass::StotSingle || hazardClass == HazardClass::StotRepeated;
}

// Splits at 「、」 outside brackets; nothing when the brackets do not pair.
std::optional<QStringList> topLevelItems(const QString &text)
{
    QStringList items;
    QString current;
    int depth = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && --depth < 0)
            return std::nullopt;
        if (c == QChar(u'、') && depth == 0) {
            items << current;
            current.clear();
        } else {
            current += c;
        }
    }
    if (depth != 0)
        return std::nullopt;
    items << current;
    return items;
}

QString japaneseBrackets(QString text)
{
    return text.replace(QLatin1Char('('), QChar(u'（')).replace(QLatin1Char(')'), QChar(u'）'));
}

} // namespace

QString normalisedCell(const QString &text)
{
    QString normal = text.normalized(QString::NormalizationForm_KC);
    normal.remove(QRegularExpression(QStringLiteral("\\s")));
    return normal;
}

std::optional<CellReading> readClassificationCell(HazardClass column, const QString &text, QString *problem)
{
    const QString cell = normalisedCell(text);
    CellReading reading;
    if (cell == QLatin1String("-")) {
        reading.verdict = CellVerdict::NotInEdition;
        return reading;
    }
    if (cell == QStringLiteral("分類できない"))
        return reading;
    if (cell == QStringLiteral("区分に該当しない")) {
        reading.verdict = CellVerdict::NotClassified;
        return reading;
    }
    if (cell == QStringLiteral("区分に該当しない(分類対象外)")) {
        reading.verdict = CellVerdict::NotApplicable;
        return reading;
    }
    const auto items = topLevelItems(cell);
    if (!items || cell.isEmpty()) {
        *problem = cell.isEmpty() ? QStringLiteral("空欄です") : QStringLiteral("括弧の対応が取れていません");
        return std::nullopt;
    }
    static const QRegularExpression numbered(QStringLiteral("^区分([0-9][A-C]?)(?:\\((.*)\\))?$"));
    static const QRegularExpression unstableGas(QStringLiteral("^(?:化学的に不安定なガス区分)?([AB])$"));
    for (qsizetype i = 0; i < items->size(); ++i) {
        const QString &item = items->at(i);
        const QRegularExpressionMatch number = numbered.match(item);
        if (number.hasMatch()) {
            ClassEntry entry{column, number.captured(1), {}};
            if (!knownCategory(column, entry.category)) {
                *problem = QStringLiteral("「%1」はこの分類の区分ではありません").arg(item);
                return std::nullopt;
            }
            const QString organs = number.captured(2);
            if (number.capturedLength(2) > 0 || item.endsWith(QLatin1Char(')'))) {
                if (!isStot(column) || organs.isEmpty()) {
                    *problem = QStringLiteral("「%1」の括弧書きはこの分類では読めません").arg(item);
                    return std::nullopt;
                }
                const auto parts = topLevelItems(organs);
                if (!parts || parts->contains(QString())) {
                    *problem = QStringLiteral("「%1」の臓器の並びが読めません").arg(item);
                    return std::nullopt;
                }
                for (const QString &organ : *parts)
                    entry.organs << japaneseBrackets(organ);
            } else if (isStot(column)) {
                *problem = QStringLiteral("「%1」に臓器・影響が書かれていません").arg(item);
                return std::nullopt;
            }
            reading.entries.push_back(entry);
            continue;
        }
        if (column == HazardClass::ReproductiveToxicity && item == kLactation) {
            reading.entries.push_back({HazardClass::Lactation, QStringLiteral("追加区分"), {}});
            continue;
        }
        if (column == HazardClass::ReproductiveToxicity && item == QStringLiteral("分類できない") && i == 0
            && items->size() == 2 && items->at(1) == kLactation) {
            continue; // reproductive toxicity itself could not be classified; lactation follows
        }
        const QRegularExpressionMatch gas = unstableGas.match(item);
        if (column == HazardClass::FlammableGases && gas.hasMatch() && i > 0 && !reading.entries.empty()
            && reading.entries.back().category == QLatin1String("1")) {
            reading.entries.push_back({column, QStringLiteral("化学的に不安定なガス") + gas.captured(1), {}});
            continue;
        }
        if (knownCategory(column, item) && !item.at(0).isDigit()) {
            reading.entries.push_back({column, item, {}});
            continue;
        }
        *problem = QStringLiteral("「%1」が読めません").arg(item);
        return std::nullopt;
    }
    reading.verdict = CellVerdict::Classified;
    return reading;
}

} // namespace corvane::ghs
