#include "MixtureIngredients.h"
#include "Catalogue.h"
#include "Database.h"
#include "GovernmentMaster.h"
#include "MasterVersion.h"
#include "MasterUpdate.h"
#include "SqlRun.h"
#include "SubstanceClassification.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace corvane {
namespace {

std::optional<double> percentOf(const QVariant &value)
{
    bool ok = false;
    const double number = value.toString().toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

} // namespace

MixtureMaster MixtureMaster::read(Database &db)
{
    MixtureMaster master;
    std::map<int, catalogue::StoredClassification> classified = catalogue::allClassifications(db);
    for (SubstanceRecord &record : catalogue::allSubstances(db)) {
        Substance &substance = master.m_substances[record.id];
        substance.name = record.name;
        substance.source = record.source;
    }
    QSqlQuery query = runSql(db, QStringLiteral("SELECT * FROM 表示物質"));
    const QSqlRecord columns = query.record();
    const int id = columns.indexOf(QStringLiteral("ID")), source = columns.indexOf(QStringLiteral("出典")),
              userOwned = columns.indexOf(QStringLiteral("UserOwned")), label = columns.indexOf(QStringLiteral("ラベル裾切値")),
              sds = columns.indexOf(QStringLiteral("SDS裾切値")), listDate = columns.indexOf(QStringLiteral("出典版"));
    while (query.next()) {
        const auto found = master.m_substances.find(query.value(id).toInt());
        if (found == master.m_substances.end())
            continue;
        Substance &substance = found->second;
        // Only the government's list gives a classification per class (the rows of 物質分類).
        substance.classificationKnown = source >= 0 && query.value(source).toString() == QStringLiteral("NITE")
                                        && !(userOwned >= 0 && query.value(userOwned).toInt() != 0);
        if (substance.classificationKnown && listDate >= 0)
            master.m_newestList = std::max(master.m_newestList, query.value(listDate).toString());
        if (label >= 0)
            substance.labelCutOff = percentOf(query.value(label));
        if (sds >= 0)
            substance.sdsCutOff = percentOf(query.value(sds));
        if (auto stored = classified.find(found->first); stored != classified.end() && substance.classificationKnown) {
            substance.entries = std::move(stored->second.entries);
            substance.unclassifiable = std::move(stored->second.unclassifiable);
        }
    }
    master.m_version = displayedVersion(storedMasterVersion(db));
    return master;
}

std::vector<ghs::Ingredient> MixtureMaster::ingredients(const std::vector<int> &substanceNumbers,
                                                        const std::map<int, ghs::Content> &contents) const
{
    std::vector<ghs::Ingredient> result;
    result.reserve(substanceNumbers.size());
    for (int number : substanceNumbers) {
        ghs::Ingredient ingredient;
        ingredient.substanceNumber = number;
        if (const auto content = contents.find(number); content != contents.end())
            ingredient.content = content->second;
        const auto found = m_substances.find(number);
        if (found == m_substances.end() || !found->second.classificationKnown) {
            ingredient.name = found == m_substances.end() ? QStringLiteral("物質マスタにない物質") : found->second.name;
            ingredient.unclassifiable = ghs::allHazardClasses();
        } else {
            const Substance &substance = found->second;
            ingredient.name = substance.name;
            ingredient.classification = substance.entries;
            ingredient.unclassifiable = substance.unclassifiable;
        }
        if (found != m_substances.end()) {
            ingredient.labelCutOffPercent = found->second.labelCutOff;
            ingredient.sdsCutOffPercent = found->second.sdsCutOff;
        }
        result.push_back(std::move(ingredient));
    }
    return result;
}

QStringList MixtureMaster::credits() const { return governmentCredits(m_newestList); }

QString MixtureMaster::sourceOf(int substanceNumber) const
{
    const auto found = m_substances.find(substanceNumber);
    if (found == m_substances.end())
        return QStringLiteral("物質マスタにない");
    if (!found->second.classificationKnown)
        return QStringLiteral("%1（区分ごとの分類がないため、分類は不明として扱う）")
            .arg(found->second.source.isEmpty() ? QStringLiteral("出典未確認") : found->second.source);
    return found->second.source;
}

} // namespace corvane
