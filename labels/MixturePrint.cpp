#include "MixturePrint.h"
#include "Catalogue.h"
#include "DbError.h"
#include "MixtureIngredients.h"
#include "MixtureLabel.h"
#include "ReportEngine.h"
#include "RunFailure.h"
#include "TypedText.h"
#include "mixture/ContentText.h"
#include "mixture/IngredientCheck.h"
#include "mixture/LegalDuty.h"
#include "mixture/MixtureClassifier.h"
#include "mixture/MixtureRules.h"
#include "mixture/MixtureText.h"

#include <QDate>

#include <algorithm>
#include <set>

namespace corvane {
namespace {

QString oneLine(const QString &text) { return cleanText(text, TextLines::One); }

QString valueOrUnknown(const std::optional<double> &value, const QString &unit)
{
    return value ? QStringLiteral("%1 %2").arg(ghs::percentText(*value), unit) : QStringLiteral("不明（入力なし）");
}

QString namesOf(const std::vector<int> &numbers, const std::vector<ghs::Ingredient> &ingredients)
{
    QStringList names;
    for (int number : numbers)
        for (const ghs::Ingredient &ingredient : ingredients)
            if (ingredient.substanceNumber == number)
                names << ghs::ingredientLabel(ingredient);
    return names.join(QStringLiteral("、"));
}

// Everything a product's mixture gives both kinds.
struct ProductAsMixture {
    QString name;
    std::vector<ghs::Ingredient> ingredients;
    ProductMixture stored;
    ghs::MixtureClassification classification;
    ghs::LegalDuty duty;
    MixtureMaster master;
};

// The basis report as paragraphs, one a line.
QStringList basisLines(const ProductAsMixture &product)
{
    QStringList lines;
    lines << QStringLiteral("■ 分類に使った入力");
    double least = 0;
    for (const ghs::Ingredient &ingredient : product.ingredients) {
        least += ingredient.content->least();
        lines << QStringLiteral("　%1　含有率 %2%　分類の出典: %3")
                     .arg(ghs::ingredientLabel(ingredient), ghs::contentText(*ingredient.content),
                          product.master.sourceOf(ingredient.substanceNumber));
    }
    const ghs::ProductProperties &properties = product.stored.properties;
    lines << QStringLiteral("　成分表にない残りの部分: 最大 %1%（%2）")
                 .arg(ghs::percentText(std::max(0.0, 100 - least)),
                      properties.remainderHarmless ? QStringLiteral("危険有害性がないと入力されている")
                                                   : QStringLiteral("危険有害性が不明として扱う"))
          << QStringLiteral("　引火点: %1　初留点: %2　動粘性率（40 °C）: %3")
                 .arg(valueOrUnknown(properties.flashPointCelsius, QStringLiteral("°C")),
                      valueOrUnknown(properties.initialBoilingPointCelsius, QStringLiteral("°C")),
                      valueOrUnknown(properties.kinematicViscosity40C, QStringLiteral("mm²/s")));

    lines << QString() << QStringLiteral("■ 労働安全衛生法による義務（表示・通知対象物質の裾切値による）");
    for (const QString &line : product.duty.basis)
        lines << QStringLiteral("　") + line;

    lines << QString() << QStringLiteral("■ GHS 分類（JIS Z 7252 の混合物の分類方法による）");
    const ghs::MixtureRuleTable &rules = ghs::mixtureRules();
    std::set<QString> sourceKeys;
    QStringList byTestsOnly; // physical classes no ingredient carries: one line for all
    for (const ghs::ClassResult &result : product.classification.classes) {
        if (result.verdict == ghs::Verdict::DecidedByTestData && result.carriers.empty()) {
            byTestsOnly << ghs::hazardClassName(result.hazardClass);
            continue;
        }
        lines << QStringLiteral("【%1】 %2").arg(ghs::hazardClassName(result.hazardClass), ghs::verdictText(result));
        for (const ghs::Finding &finding : result.findings) {
            const ghs::MixtureRule *rule = rules.rule(finding.ruleId);
            if (!finding.ingredients.empty())
                lines << QStringLiteral("　決め手の成分: %1").arg(namesOf(finding.ingredients, product.ingredients));
            if (rule) {
                lines << QStringLiteral("　規則: %1（%2）").arg(rule->id, rule->clause);
                for (const QString &key : rule->sources)
                    sourceKeys.insert(key);
            }
        }
        if (!result.reason.isEmpty() && result.verdict != ghs::Verdict::Classified
            && result.reason != ghs::verdictText(result))
            lines << QStringLiteral("　理由: %1").arg(result.reason);
        for (const QString &line : result.basis)
            lines << QStringLiteral("　") + line;
        if (result.unknownPercent && *result.unknownPercent > 0)
            lines << QStringLiteral("　急性毒性が不明な成分の割合: %1%").arg(ghs::percentText(*result.unknownPercent));
        if (!result.mFactorAssumed.empty())
            lines << QStringLiteral("　M係数の情報がないため M = 1 とした成分: %1")
                         .arg(namesOf(result.mFactorAssumed, product.ingredients));
    }

    if (!byTestsOnly.isEmpty())
        lines << QStringLiteral("【%1】 試験データにより判断（成分にこの危険性に分類されたものはない）")
                     .arg(byTestsOnly.join(QStringLiteral("、")));

    lines << QString() << QStringLiteral("■ 物質マスタと出典");
    lines << QStringLiteral("　物質マスタの版: %1").arg(product.master.version());
    for (const QString &credit : product.master.credits())
        lines << QStringLiteral("　") + credit;
    lines << QStringLiteral("　規則表の出典:");
    for (const QString &key : sourceKeys)
        if (const ghs::RuleSource *source = rules.source(key))
            lines << QStringLiteral("　%1 %2 %3").arg(source->key, source->title, source->address);
    lines << QString()
          << QStringLiteral(
                 "この報告は成分の含有率と政府による各成分の GHS 分類から計算したもので、試験による物理化学的危険性、"
                 "M係数、成分表にない成分の危険有害性は含まれません。製品の分類とラベルの責任は供給者にあります。");
    return lines;
}

class MixtureRun {
public:
    MixtureRun(Database &db, ReportEngine &engine) : m_db(db), m_engine(engine) {}

    // Throws the Failure that ended it, or DbError from the database.
    ProductAsMixture read(int productId, PrintResult &result);
    void printLabel(const ProductAsMixture &product);
    void printBasis(const ProductAsMixture &product);
    QList<CutText> cutTexts() const;
    QStringList incomplete;

private:
    void start(const QString &title);
    void load(ReportFile report);
    void fillSupplier();
    void placePictograms(const QStringList &pictures);
    void end();

    Database &m_db;
    ReportEngine &m_engine;
};

ProductAsMixture MixtureRun::read(int productId, PrintResult &result)
{
    ProductAsMixture product;
    const std::optional<ProductWithEntries> stored = catalogue::productWithEntries(m_db, productId);
    if (!stored)
        throw Failure{QStringLiteral("製品情報が登録されていません。"), {}};
    product.name = oneLine(stored->product.nameText());
    std::vector<int> numbers;
    for (int number : stored->substanceNumbers())
        if (number >= 1 && std::find(numbers.begin(), numbers.end(), number) == numbers.end())
            numbers.push_back(number);
    if (numbers.empty())
        throw Failure{QStringLiteral("物質が登録されていません。"), {}};
    product.stored = catalogue::productMixture(m_db, productId);
    product.master = MixtureMaster(m_db);
    product.ingredients = product.master.ingredients(numbers, product.stored.contents);
    product.classification = ghs::classifyMixture(product.ingredients, product.stored.properties);
    if (product.classification.refused()) {
        QStringList messages;
        for (const ghs::Refusal &refusal : product.classification.refusals) {
            messages << refusal.message;
            for (int number : refusal.substanceNumbers)
                if (!result.refused.contains(number))
                    result.refused << number;
        }
        throw Failure{
            QStringLiteral("製品「%1」は含有率に誤りがあるため、混合物として分類できません。何も印刷していません。\n%2")
                .arg(product.name, messages.join(QLatin1Char('\n'))),
            {}};
    }
    product.duty = ghs::legalDutyOf(product.ingredients);
    for (const ghs::Ingredient &ingredient : product.ingredients)
        if (ingredient.name == QStringLiteral("物質マスタにない物質"))
            result.warnings
                << QStringLiteral(
                       "製品「%1」の物質番号 %2 は物質マスタにないため、危険有害性が不明な成分として分類しました。")
                       .arg(product.name)
                       .arg(ingredient.substanceNumber);
    return product;
}

void MixtureRun::start(const QString &title)
{
    if (const Outcome started = m_engine.startDocument(title); !started)
        throw runFailure(QStringLiteral("印刷を開始できません。"), started.failure());
}

void MixtureRun::load(ReportFile report)
{
    if (const Outcome loaded = m_engine.loadReport(report); !loaded) {
        m_engine.abortDocument();
        throw runFailure(QStringLiteral("ラベルの様式を読み込めません（%1）。").arg(reportFileName(report)),
                         loaded.failure());
    }
}

void MixtureRun::fillSupplier()
{
    CompanyRecord company;
    if (const auto stored = catalogue::company(m_db))
        company = *stored;
    m_engine.setFieldText(QStringLiteral("CopName"), oneLine(company.company));
    m_engine.setFieldText(QStringLiteral("Address"), oneLine(company.address));
    m_engine.setFieldText(QStringLiteral("TelFax"), oneLine(company.tel));
    if (company.company.trimmed().isEmpty())
        incomplete << QStringLiteral("供給者の欄が空です: 会社情報（会社名・住所等入力）が登録されていません。");
}

// The pictograms side by side, centred on the label.
void MixtureRun::placePictograms(const QStringList &pictures)
{
    const QRect first = m_engine.fieldRect(QStringLiteral("Mark11"));
    const QRect last = m_engine.fieldRect(QStringLiteral("Mark15"));
    const int pitch = (last.x() - first.x()) / 4;
    const int count = static_cast<int>(pictures.size());
    const int left = (first.x() + last.x() + last.width()) / 2 - ((count - 1) * pitch + first.width()) / 2;
    for (int m = 0; m < 5; ++m) {
        const QString field = QStringLiteral("Mark1%1").arg(m + 1);
        m_engine.setFieldPicture(field, pictures.value(m));
        if (m < count)
            m_engine.setFieldRect(field, QRect(left + m * pitch, first.y(), first.width(), first.height()));
    }
}

void MixtureRun::printLabel(const ProductAsMixture &product)
{
    const Result<MixtureLabel> label = mixtureLabel(product.classification);
    if (!label)
        throw label.failure();
    if (!label->hazardous()) {
        // 「該当しない」 is a claim: it cannot be made while some class is unknown.
        QStringList open;
        for (const ghs::ClassResult &result : product.classification.classes)
            if (result.verdict == ghs::Verdict::CannotClassify
                || (result.verdict == ghs::Verdict::DecidedByTestData && !result.carriers.empty()))
                open << ghs::hazardClassName(result.hazardClass);
        if (!open.isEmpty())
            throw Failure{
                QStringLiteral(
                    "製品「%1」は成分からは分類される危険有害性がありませんが、次の項目は分類できないか試験データで判断するため、"
                    "「GHS 分類基準に該当しない」とは印刷できません（分類の根拠を確認してください）:\n%2")
                    .arg(product.name, open.join(QStringLiteral("、"))),
                {}};
    }
    start(product.name);
    load(ReportFile::MixtureLabel);
    m_engine.setFieldText(QStringLiteral("ProName"), product.name);
    fillSupplier();
    if (label->hazardous()) {
        placePictograms(label->pictures);
        m_engine.setFieldText(QStringLiteral("Attention1"), label->signalWord);
        m_engine.setFieldText(QStringLiteral("Harmful1"), label->hazards);
        m_engine.setFieldText(QStringLiteral("Precautions"), label->precautions);
        m_engine.setFieldText(QStringLiteral("Verdict"), QString());
    } else {
        placePictograms({});
        for (const char *field : {"Attention1", "Harmful1", "Precautions", "HazardHeading", "PrecautionHeading"})
            m_engine.setFieldText(QString::fromLatin1(field), QString());
        m_engine.setFieldText(QStringLiteral("Verdict"), QStringLiteral("GHS 分類基準に該当しない"));
    }
    end();
}

void MixtureRun::printBasis(const ProductAsMixture &product)
{
    const QStringList lines = basisLines(product);
    const QString footer = QStringLiteral("%1 作成　物質マスタ 版 %2")
                               .arg(QDate::currentDate().toString(Qt::ISODate), product.master.version());
    // Pages of whole lines: a line goes to the next page when it does not fit whole.
    std::vector<QStringList> pages(1);
    for (const QString &line : lines) {
        QStringList tried = pages.back();
        tried << line;
        if (!pages.back().isEmpty()
            && !m_engine.textFits(ReportFile::ClassificationBasis, QStringLiteral("Body"),
                                  tried.join(QStringLiteral("\r\n"))))
            pages.push_back({line});
        else
            pages.back() = tried;
    }
    start(QStringLiteral("分類の根拠 %1").arg(product.name));
    for (size_t page = 0; page < pages.size(); ++page) {
        if (page > 0) {
            m_engine.playPage();
            m_engine.endSheet();
        }
        load(ReportFile::ClassificationBasis);
        m_engine.setFieldText(QStringLiteral("ProName"), QStringLiteral("製品: %1").arg(product.name));
        m_engine.setFieldText(QStringLiteral("PageNo"), QStringLiteral("%1/%2").arg(page + 1).arg(pages.size()));
        m_engine.setFieldText(QStringLiteral("Body"), pages[page].join(QStringLiteral("\r\n")));
        m_engine.setFieldText(QStringLiteral("Footer"), footer);
    }
    end();
}

void MixtureRun::end()
{
    m_engine.playPage();
    if (const Outcome finished = m_engine.finishDocument(); !finished)
        throw runFailure(QStringLiteral("ラベルを出力できません。"), finished.failure());
}

QList<CutText> MixtureRun::cutTexts() const
{
    static const QHash<QString, QString> words{
        {QStringLiteral("ProName"), QStringLiteral("製品名")},
        {QStringLiteral("Attention1"), QStringLiteral("注意喚起語")},
        {QStringLiteral("Harmful1"), QStringLiteral("危険有害性情報")},
        {QStringLiteral("Precautions"), QStringLiteral("注意書き")},
        {QStringLiteral("CopName"), QStringLiteral("会社名")},
        {QStringLiteral("Address"), QStringLiteral("住所")},
        {QStringLiteral("TelFax"), QStringLiteral("電話・FAX")},
        {QStringLiteral("Body"), QStringLiteral("本文")},
        {QStringLiteral("Verdict"), QStringLiteral("分類の結果")},
    };
    QList<CutText> cut;
    for (const SheetField &where : m_engine.lastCutFields())
        cut.append({where.sheet + 1, 0, QString(), words.value(where.field, where.field), where.unprintable});
    return cut;
}

} // namespace

PrintResult printMixture(Database &db, int productId, LabelKind kind, ReportEngine &engine)
{
    PrintResult result;
    MixtureRun run(db, engine);
    try {
        const ProductAsMixture product = run.read(productId, result);
        if (kind == LabelKind::MixtureLabel)
            run.printLabel(product);
        else
            run.printBasis(product);
        result.cut = run.cutTexts();
        result.incomplete = run.incomplete;
    } catch (const Failure &failure) {
        result.outcome = failure;
    } catch (const DbError &error) {
        engine.abortDocument();
        result.outcome =
            Outcome::failed(QStringLiteral("データベースのエラーです。\n") + QString::fromUtf8(error.what()));
    }
    return result;
}

} // namespace corvane
