#include "SampleLabels.h"

#include "PrintLabels.h"
#include "ReportEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvane::samples {

namespace {

const QStringList kNames = {
    QStringLiteral("ジメチルスルホキシド"),
    QStringLiteral("２－（ジメチルアミノ）エチル＝メタクリレート"),
    QStringLiteral("N,N-ジメチルホルムアミド"),
    QStringLiteral("メタノール"),
    QStringLiteral("キシレン（o-, m-, p-異性体の混合物）"),
    QStringLiteral("水酸化ナトリウム"),
    QStringLiteral("過酸化水素（35%水溶液）"),
    QStringLiteral(
        "ポリ（オキシエチレン）＝アルキルエーテル（アルキル基の炭素数が12から15までのもの及びその混合物に限る。）"),
    QStringLiteral("トルエン"),
    QStringLiteral("1,2-ジクロロエタン"),
    QStringLiteral("次亜塩素酸ナトリウム"),
    QStringLiteral("エチレングリコールモノブチルエーテル"),
    QStringLiteral("テトラヒドロフラン"),
    QStringLiteral("ホルムアルデヒド"),
    QStringLiteral("硫酸"),
    QStringLiteral("酢酸エチル"),
};

const QStringList kHazards = {
    QStringLiteral("引火性の高い液体及び蒸気"),
    QStringLiteral("飲み込むと有害"),
    QStringLiteral("皮膚に接触すると有毒"),
    QStringLiteral("重篤な皮膚の薬傷及び眼の損傷"),
    QStringLiteral("強い眼刺激"),
    QStringLiteral("吸入すると有害"),
    QStringLiteral("アレルギー性皮膚反応を起こすおそれ"),
    QStringLiteral("吸入するとアレルギー、喘息又は呼吸困難を起こすおそれ"),
    QStringLiteral("呼吸器への刺激のおそれ"),
    QStringLiteral("眠気又はめまいのおそれ"),
    QStringLiteral("発がんのおそれの疑い"),
    QStringLiteral("生殖能又は胎児への悪影響のおそれ"),
    QStringLiteral("臓器の障害（中枢神経系、視覚器、全身毒性）"),
    QStringLiteral("長期にわたる、又は反復ばく露による臓器の障害（肝臓、腎臓、血液系）"),
    QStringLiteral("飲み込んで気道に侵入すると生命に危険のおそれ"),
    QStringLiteral("長期継続的影響によって水生生物に非常に強い毒性"),
    QStringLiteral("金属腐食のおそれ"),
    QStringLiteral("火災助長のおそれ：酸化性物質"),
};

const QString kPrecautions = QStringLiteral(
    "【安全対策】\n"
    "使用前に取扱説明書を入手すること。\n"
    "全ての安全注意を読み理解するまで取り扱わないこと。\n"
    "熱、高温のもの、火花、裸火及び他の着火源から遠ざけること。禁煙。\n"
    "容器を密閉しておくこと。\n"
    "防爆型の電気機器、換気装置、照明機器を使用すること。\n"
    "静電気放電に対する措置を講ずること。\n"
    "粉じん、煙、ガス、ミスト、蒸気、スプレーを吸入しないこと。\n"
    "取扱い後は手をよく洗うこと。\n"
    "この製品を使用するときに、飲食又は喫煙をしないこと。\n"
    "屋外又は換気の良い場所でだけ使用すること。\n"
    "保護手袋、保護衣、保護眼鏡、保護面を着用すること。\n"
    "【応急措置】\n"
    "飲み込んだ場合：口をすすぐこと。無理に吐かせないこと。\n"
    "皮膚（又は髪）に付着した場合：直ちに汚染された衣類を全て脱ぐこと。皮膚を流水又はシャワーで洗うこと。\n"
    "吸入した場合：空気の新鮮な場所に移し、呼吸しやすい姿勢で休息させること。\n"
    "眼に入った場合：水で数分間注意深く洗うこと。次にコンタクトレンズを着用していて容易に外せる場合は外すこと。その後も"
    "洗浄を続けること。\n"
    "ばく露又はばく露の懸念がある場合：医師の診察／手当てを受けること。\n"
    "火災の場合：消火するために粉末消火剤、二酸化炭素、泡消火剤を使用すること。\n"
    "【保管】\n"
    "換気の良い場所で保管すること。容器を密閉しておくこと。\n"
    "涼しいところに置くこと。\n"
    "施錠して保管すること。\n"
    "【廃棄】\n"
    "内容物／容器を都道府県知事の許可を受けた専門の廃棄物処理業者に業務委託すること。");

// The notes as the program splits them for MULABEL: lines of at most
// `width` characters.
QStringList chopLines(const QString &text, int width)
{
    QStringList lines;
    for (const QString &paragraph : text.split(u'\n')) {
        for (qsizetype at = 0; at < paragraph.size(); at += width)
            lines.append(paragraph.mid(at, width));
    }
    return lines;
}

void fillSlot(ReportEngine &engine, int slot, const Substance *substance)
{
    const QString n = QString::number(slot);
    engine.setFieldText(QStringLiteral("Element") + n, substance ? substance->name : QString());
    engine.setFieldText(QStringLiteral("Attention") + n, substance ? substance->signalWord : QString());
    for (int mark = 1; mark <= 5; ++mark) {
        const bool shown = substance && mark <= substance->pictograms.size();
        engine.setFieldPicture(QStringLiteral("Mark%1%2").arg(n).arg(mark),
                               shown ? substance->pictograms[mark - 1] + QStringLiteral(".svg") : QString());
    }
    engine.setFieldText(QStringLiteral("Harmful") + n,
                        substance ? substance->hazards.join(QStringLiteral("\r\n")) : QString());
}

void fillSupplier(ReportEngine &engine, const Supplier &supplier)
{
    engine.setFieldText(QStringLiteral("CopName"), supplier.company);
    engine.setFieldText(QStringLiteral("Address"), supplier.address);
    engine.setFieldText(QStringLiteral("TelFax"), supplier.telFax);
}

// Loads the page; on failure abandons the document as the program does.
Outcome loadPage(ReportEngine &engine, ReportFile report)
{
    Outcome loaded = engine.loadReport(report);
    if (!loaded)
        engine.abortDocument();
    return loaded;
}

Outcome printSingleLabel(ReportEngine &engine, ReportFile report, const Supplier &supplier, const Product &product,
                         const Substance &substance, const QString &notes)
{
    if (Outcome started = engine.startDocument(); !started)
        return started;
    if (Outcome loaded = loadPage(engine, report); !loaded)
        return loaded;
    fillSupplier(engine, supplier);
    engine.setFieldText(QStringLiteral("ProName"), product.name);
    engine.setFieldText(QStringLiteral("CntElm"), product.ingredients);
    engine.setFieldText(QStringLiteral("Notes"), notes);
    fillSlot(engine, 1, &substance);
    engine.playPage();
    engine.endSheet();
    return engine.finishDocument();
}

} // namespace

QList<Substance> sampleSubstances(int count)
{
    static const QStringList pictograms = {QStringLiteral("GHS02"), QStringLiteral("GHS07"), QStringLiteral("GHS08"),
                                           QStringLiteral("GHS05"), QStringLiteral("GHS06"), QStringLiteral("GHS09"),
                                           QStringLiteral("GHS03"), QStringLiteral("GHS01"), QStringLiteral("GHS04")};
    QList<Substance> substances;
    for (int i = 0; i < count; ++i) {
        Substance substance;
        substance.name = kNames[i % kNames.size()];
        if (i >= kNames.size())
            substance.name += QStringLiteral("（製品番号 %1）").arg(10000 + i);
        substance.signalWord = i % 3 == 2 ? QStringLiteral("警告") : QStringLiteral("危険");
        const int pictogramCount = 1 + (i * 7 + 3) % 5;
        for (int p = 0; p < pictogramCount; ++p)
            substance.pictograms.append(pictograms[(i + p * 2) % pictograms.size()]);
        const int hazardCount = 2 + (i * 5 + 6) % 9;
        for (int h = 0; h < hazardCount; ++h)
            substance.hazards.append(kHazards[(i * 3 + h * 5) % kHazards.size()]);
        substances.append(substance);
    }
    return substances;
}

Supplier sampleSupplier()
{
    return {QStringLiteral("株式会社コルヴァン化学"),
            QStringLiteral("〒103-0023 東京都中央区日本橋本町二丁目3番11号 コルヴァンビル5階"),
            QStringLiteral("TEL 03-5201-7788　FAX 03-5201-7789　緊急連絡先 03-5201-7790（24時間）")};
}

Product sampleProduct()
{
    return {QStringLiteral("コルヴァン精密洗浄剤 CX-200"),
            QStringLiteral("ジメチルスルホキシド 60%、２－（ジメチルアミノ）エチル＝メタクリレート 15%、"
                           "エタノール 10%、界面活性剤 5%、水 10%"),
            QStringLiteral("直射日光を避け、換気の良い冷暗所に保管すること。\r\n"
                           "火気厳禁。容器は使用後必ず密栓すること。\r\n"
                           "子供の手の届かない所に保管すること。\r\n"
                           "取扱い時は保護手袋・保護眼鏡を着用し、皮膚や眼に触れないようにすること。\r\n"
                           "飲食物と区別して保管すること。"),
            kPrecautions};
}

bool prepareDataFolder(const QString &baseFolder, const QString &reportsSource, const QString &pictogramsSource,
                       QString *error)
{
    const QDir data(QDir(baseFolder).filePath(QStringLiteral("Data")));
    if (!QDir().mkpath(data.path())) {
        *error = QStringLiteral("cannot create %1").arg(data.path());
        return false;
    }
    const auto copyAll = [&](const QString &source, const QString &pattern) {
        const QDir from(source);
        const QStringList names = from.entryList({pattern}, QDir::Files);
        for (const QString &name : names) {
            QFile::remove(data.filePath(name));
            if (!QFile::copy(from.filePath(name), data.filePath(name))) {
                *error = QStringLiteral("cannot copy %1").arg(from.filePath(name));
                return false;
            }
        }
        if (names.isEmpty())
            *error = QStringLiteral("no %1 in %2").arg(pattern, source);
        return !names.isEmpty();
    };
    return copyAll(reportsSource, QStringLiteral("*.PRP")) && copyAll(pictogramsSource, QStringLiteral("GHS0*.svg"));
}

Outcome printSheets(ReportEngine &engine, ReportFile report, int slotsPerSheet, const QList<Substance> &substances)
{
    if (Outcome started = engine.startDocument(); !started)
        return started;
    for (qsizetype first = 0; first < substances.size(); first += slotsPerSheet) {
        if (Outcome loaded = loadPage(engine, report); !loaded)
            return loaded;
        for (int slot = 1; slot <= slotsPerSheet; ++slot) {
            const qsizetype index = first + slot - 1;
            fillSlot(engine, slot, index < substances.size() ? &substances[index] : nullptr);
        }
        engine.playPage();
        engine.endSheet();
    }
    return engine.finishDocument();
}

Outcome printNormalLabel(ReportEngine &engine, const Supplier &supplier, const Product &product,
                         const Substance &substance)
{
    return printSingleLabel(engine, ReportFile::SingleSubstanceLabel, supplier, product, substance,
                            product.storageNotes);
}

Outcome printModelLabel(ReportEngine &engine, const Supplier &supplier, const Product &product,
                        const Substance &substance)
{
    return printSingleLabel(engine, ReportFile::ModelLabel, supplier, product, substance, product.precautions);
}

Outcome printMultiSubstanceLabel(ReportEngine &engine, const Supplier &supplier, const Product &product,
                                 const QList<Substance> &substances)
{
    constexpr int kSlots = 6;
    constexpr int kNotes1Lines = 23;
    const QStringList noteLines = chopLines(product.precautions, 30);
    if (Outcome started = engine.startDocument(); !started)
        return started;
    for (qsizetype first = 0; first < substances.size(); first += kSlots) {
        if (Outcome loaded = loadPage(engine, ReportFile::SixSubstanceLabel); !loaded)
            return loaded;
        fillSupplier(engine, supplier);
        engine.setFieldText(QStringLiteral("ProName"), product.name);
        engine.setFieldText(QStringLiteral("CntElm"), product.ingredients);
        const qsizetype used = qMin<qsizetype>(kSlots, substances.size() - first);
        for (int slot = 1; slot <= kSlots; ++slot)
            fillSlot(engine, slot, slot <= used ? &substances[first + slot - 1] : nullptr);

        const bool lastPage = first + kSlots >= substances.size();
        if (lastPage && used <= 4) {
            MoveNotesOnLastPage(engine, static_cast<int>(used) + 1, noteLines.join(QStringLiteral("\r\n")));
        } else {
            engine.setFieldText(QStringLiteral("Notes1"), noteLines.mid(0, kNotes1Lines).join(QStringLiteral("\r\n")));
            engine.setFieldText(QStringLiteral("Notes2"), noteLines.mid(kNotes1Lines).join(QStringLiteral("\r\n")));
        }
        engine.playPage();
        engine.endSheet();
    }
    return engine.finishDocument();
}

} // namespace corvane::samples
