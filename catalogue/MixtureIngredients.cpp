#include "MixtureIngredients.h"
#include "Catalogue.h"
#include "Database.h"
#include "GovernmentMaster.h"
#include "MasterUpdate.h"
#include "MasterVersion.h"
#include "SchemaLookup.h"
#include "SqlRun.h"
#include "SubstanceClassification.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace corvane {
namespace {

std::optional<double> percentOf(const QVariant &value)
{
    bool ok = false;
    const double number = value.toString().toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

// "?, ?, ?" for a list of that many numbers.
QString marks(size_t count) { return QStringList(qsizetype(count), QStringLiteral("?")).join(QStringLiteral(", ")); }

} // namespace

void MixtureMaster::load(const std::vector<int> &substanceNumbers)
{
    std::vector<int> missing;
    for (int number : substanceNumbers)
        if (!m_substances.count(number) && !m_absent.count(number))
            missing.push_back(number);
    if (missing.empty() || !m_db)
        return;
    const bool hasClassifications = tableExists(*m_db, QStringLiteral("物質分類"));
    constexpr size_t kPerQuery = 500;
    for (size_t first = 0; first < missing.size(); first += kPerQuery) {
        const std::vector<int> part(missing.begin() + first,
                                    missing.begin() + std::min(missing.size(), first + kPerQuery));
        QVariantList numbers(part.begin(), part.end());
        QSqlQuery rows =
            runSql(*m_db, QStringLiteral("SELECT * FROM 表示物質 WHERE ID IN (%1)").arg(marks(part.size())), numbers);
        const QSqlRecord columns = rows.record();
        const auto column = [&](const char *name) { return columns.indexOf(QString::fromUtf8(name)); };
        const int id = column("ID"), name = column("物質名"), source = column("出典"), sourceId = column("出典ID"),
                  listDate = column("出典版"), userOwned = column("UserOwned"), label = column("ラベル裾切値"),
                  sds = column("SDS裾切値");
        const auto text = [&](int index) { return index < 0 ? QString() : rows.value(index).toString(); };
        while (rows.next()) {
            Substance &substance = m_substances[rows.value(id).toInt()];
            const bool owned = userOwned >= 0 && rows.value(userOwned).toInt() != 0;
            substance.name = text(name);
            substance.source = catalogue::sourceLine(text(source), text(sourceId), text(listDate), owned);
            // Only the government's list gives a classification per class (the rows of 物質分類).
            substance.classificationKnown = !owned && text(source) == QStringLiteral("NITE") && hasClassifications;
            if (label >= 0)
                substance.labelCutOff = percentOf(rows.value(label));
            if (sds >= 0)
                substance.sdsCutOff = percentOf(rows.value(sds));
        }
        rows.finish();
        if (hasClassifications) {
            QSqlQuery classes =
                runSql(*m_db,
                       QStringLiteral("SELECT 物質ID, 分類, 区分, 臓器 FROM 物質分類 WHERE 物質ID IN (%1) "
                                      "ORDER BY 物質ID, 順")
                           .arg(marks(part.size())),
                       numbers);
            while (classes.next()) {
                const auto found = m_substances.find(classes.value(0).toInt());
                const auto hazardClass = ghs::hazardClassFromKey(classes.value(1).toString());
                if (found == m_substances.end() || !hazardClass || !found->second.classificationKnown)
                    continue;
                const QString category = classes.value(2).toString();
                if (category == kUnclassifiableCategory) {
                    found->second.unclassifiable.push_back(*hazardClass);
                    continue;
                }
                ghs::ClassEntry entry{*hazardClass, category, {}};
                if (const QString organs = classes.value(3).toString(); !organs.isEmpty())
                    entry.organs = organs.split(QStringLiteral("、"));
                found->second.entries.push_back(entry);
            }
        }
    }
    for (int number : missing)
        if (!m_substances.count(number))
            m_absent.insert(number);
}

std::vector<ghs::Ingredient> MixtureMaster::ingredients(const std::vector<int> &substanceNumbers,
                                                        const std::map<int, ghs::Content> &contents)
{
    load(substanceNumbers);
    std::vector<ghs::Ingredient> result;
    result.reserve(substanceNumbers.size());
    for (int number : substanceNumbers) {
        ghs::Ingredient ingredient;
        ingredient.substanceNumber = number;
        if (const auto content = contents.find(number); content != contents.end())
            ingredient.content = content->second;
        const auto found = m_substances.find(number);
        if (found == m_substances.end()) {
            ingredient.name = QStringLiteral("物質マスタにない物質");
            ingredient.unclassifiable = ghs::allHazardClasses();
        } else {
            const Substance &substance = found->second;
            ingredient.name = substance.name;
            if (substance.classificationKnown) {
                ingredient.classification = substance.entries;
                ingredient.unclassifiable = substance.unclassifiable;
            } else {
                ingredient.unclassifiable = ghs::allHazardClasses();
            }
            ingredient.labelCutOffPercent = substance.labelCutOff;
            ingredient.sdsCutOffPercent = substance.sdsCutOff;
        }
        result.push_back(std::move(ingredient));
    }
    return result;
}

QString MixtureMaster::version() const { return m_db ? displayedVersion(storedMasterVersion(*m_db)) : QString(); }

QStringList MixtureMaster::credits() const
{
    QString newest;
    if (m_db)
        for (QSqlQuery query = runSql(
                 *m_db, QStringLiteral("SELECT MAX(出典版) FROM 表示物質 WHERE 出典 = 'NITE' AND UserOwned = 0"));
             query.next();)
            newest = query.value(0).toString();
    return governmentCredits(newest);
}

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
