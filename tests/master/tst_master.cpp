#include "MasterSource.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QtTest>

using namespace corvane;

namespace {

const QString kSourceDir = QStringLiteral(CORVANE_SOURCE_DIR);

// Small statement tables for the made-up rows below.
const QString kHazards = QStringLiteral(
    "# test table\n"
    "H225\t引火性の高い液体及び蒸気\nH290\t金属腐食のおそれ\nH301\t飲み込むと有毒\n"
    "H301+H311\t飲み込んだり、皮膚に接触すると有毒\nH312\t皮膚に接触すると有害\n"
    "H314\t重篤な皮膚の薬傷及び眼の損傷\nH315\t皮膚刺激\nH317\tアレルギー性皮膚反応を起こすおそれ\n"
    "H319\t強い眼刺激\nH331\t吸入すると有毒\nH334\t吸入するとアレルギー、喘息又は呼吸困難を起こすおそれ\n"
    "H335\t呼吸器への刺激のおそれ\nH400\t水生生物に非常に強い毒性\nH412\t長期継続的影響によって水生生物に有害\n"
    "H241\t熱すると火災又は爆発のおそれ\nH272\t火災助長のおそれ；酸化性物質\nH305\t飲み込んで気道に侵入すると有害のおそれ\n"
    "H372\t長期にわたる、又は反復ばく露による{臓器}の障害{経路?}\n");
const QString kPrecautions = QStringLiteral(
    "P101\t医学的な助言が必要なときには、製品容器やラベルを持っていること。\n"
    "P210\t熱から遠ざけること。\nP280\t保護手袋を着用すること。\n"
    "P301+P310\t飲み込んだ場合：直ちに医師に連絡すること。\nP305+P351+P338\t眼に入った場合：水で数分間注意深く洗うこと。\n"
    "P310\t直ちに医師に連絡すること。\nP403+P235\t換気の良い場所で保管すること。涼しいところに置くこと。\n"
    "P501\t内容物/容器を廃棄すること。\nP233\t容器を密閉しておくこと。\n"
    "P403+P233\t換気の良い場所で保管すること。容器を密閉しておくこと。\n"
    "P410+P403\t日光から遮断し、換気の良い場所で保管すること。\n"
    "P370+P378\t火災の場合：消火するために{消火剤}を使用すること。\n");

MasterSourceResult readRows(const QString &rows)
{
    return readMasterSource(kHazards, "h.tsv", kPrecautions, "p.tsv", rows, "s.tsv");
}

QString describe(const std::vector<MasterError> &errors)
{
    QStringList lines;
    for (const MasterError &e : errors)
        lines.append(QStringLiteral("%1:%2: %3").arg(e.file).arg(e.line).arg(e.message));
    return lines.join(QLatin1Char('\n'));
}

// Code -> text of a real statement file, read without the reader under test.
QHash<QString, QString> statements(const QString &name)
{
    QFile file(kSourceDir + QStringLiteral("/data/master/") + name);
    QHash<QString, QString> table;
    if (!file.open(QIODevice::ReadOnly))
        return table;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QStringList fields = line.trimmed().split(QLatin1Char('\t'));
        if (fields.size() == 2 && !line.startsWith(QLatin1Char('#')))
            table.insert(fields.at(0), fields.at(1));
    }
    return table;
}

} // namespace

class TestMaster : public QObject {
    Q_OBJECT

private slots:
    void realMaster();
    void pictograms_data();
    void pictograms();
    void rows_data();
    void rows();
    void statementFileErrors();
    void composition();
    void placeholdersAndSourceLine();
    void lineEndingsAndBom();
    void garbage();
};

void TestMaster::realMaster()
{
    const QHash<QString, QString> hazards = statements("hazard_statements.tsv");
    const QHash<QString, QString> precautions = statements("precautionary_statements.tsv");
    const QStringList required =
        QStringLiteral("H200 H229 H230 H231 H232 H304 H305 H362 H420 H300+H310+H330 H301+H311+H331 H302+H312+H332 "
                       "H303+H313+H333 H315+H320 P231+P232 P280 P301+P330+P331 P303+P361+P353 P305+P351+P338 P361+P364 "
                       "P370+P378 P403+P233 P410+P403 P501")
            .split(QLatin1Char(' '));
    for (const QString &code : required)
        QVERIFY2(hazards.contains(code) || precautions.contains(code), qPrintable(code));
    for (auto it = precautions.cbegin(); it != precautions.cend(); ++it)
        QVERIFY2(!it.key().startsWith(QLatin1String("P1")), qPrintable(it.key()));

    const MasterSourceResult result = readMasterFolder(kSourceDir + QStringLiteral("/data/master"));
    QVERIFY2(result.errors.empty(), qPrintable(describe(result.errors)));
    QVERIFY(result.substances.size() >= 200);

    static const QRegularExpression loneBreak(QStringLiteral("(?<!\\r)\\n|\\r(?!\\n)"));
    const QDir pictogramDir(kSourceDir + QStringLiteral("/data/pictograms"));
    int expectedId = 1;
    for (const ComposedSubstance &s : result.substances) {
        const QString where = QStringLiteral("ID %1 %2: ").arg(s.id).arg(s.name);
        QCOMPARE(s.id, expectedId++);
        QVERIFY2(!loneBreak.match(s.hazards + s.precautions).hasMatch(), qPrintable(where));
        QVERIFY2(s.pictures.size() <= 5, qPrintable(where));
        for (const QString &picture : s.pictures)
            QVERIFY2(pictogramDir.exists(picture), qPrintable(where + picture));
    }
}

void TestMaster::pictograms_data()
{
    QTest::addColumn<QString>("name");
    for (int i = 1; i <= 9; ++i)
        QTest::addRow("GHS0%d", i) << QStringLiteral("GHS0%1.svg").arg(i);
}

void TestMaster::pictograms()
{
    QFETCH(QString, name);
    QFile file(kSourceDir + QStringLiteral("/data/pictograms/") + name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    QVERIFY2(!svg.contains("href") && !svg.contains("<image") && !svg.contains("<text"), "self-contained, no text");

    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBoxF().width(), renderer.viewBoxF().height());
    QImage image(200, 200, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();

    int red = 0, black = 0, white = 0, blackOnFrame = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 200)
                continue;
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60) {
                ++red;
            } else if (c.red() < 60 && c.green() < 60 && c.blue() < 60) {
                ++black;
                // The white ground inside the red band reaches 0.414 of the side from the centre.
                if (std::abs(x + 0.5 - 100) + std::abs(y + 0.5 - 100) > 0.414 * 200 + 1)
                    ++blackOnFrame;
            } else if (c.red() > 230 && c.green() > 230 && c.blue() > 230) {
                ++white;
            }
        }
    }
    QVERIFY2(red > 2000 && black > 1000 && white > black / 2,
             qPrintable(QStringLiteral("red %1 black %2 white %3").arg(red).arg(black).arg(white)));
    QCOMPARE(blackOnFrame, 0);                   // the symbol stays off the red band
    QCOMPARE(image.pixelColor(2, 2).alpha(), 0); // nothing outside the diamond
    QCOMPARE(image.pixelColor(197, 197).alpha(), 0);
}

void TestMaster::rows_data()
{
    QTest::addColumn<QString>("row");     // line 2, after a valid line 1
    QTest::addColumn<QString>("message"); // part of the expected error; empty: the row is valid

    // Columns after P: 区分, 差込, 別名, 出典, 出典ID, 出典年.
    auto full = [](const char *signal, const char *pictograms, const char *h, const char *p, const char *categories,
                   const char *fillIns, const char *aliases = "", const char *source = "未確認\t\t") {
        return QStringLiteral("2\t乙\t\t%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8")
            .arg(signal, pictograms, h, p, categories, fillIns, aliases, source);
    };
    auto row = [&](const char *signal, const char *pictograms, const char *h, const char *p = "P210") {
        return full(signal, pictograms, h, p, "", "");
    };
    auto sourced = [&](const char *source, const char *aliases = "") {
        return full("危険", "GHS02", "H225", "P210", "", "", aliases, source);
    };
    // Form of a row.
    QTest::newRow("too few columns") << "2\t乙\t71-43-2\t危険\tGHS02\tH225"
                                     << "列の数";
    QTest::newRow("id not a number") << QString(row("危険", "GHS02", "H225")).replace(0, 1, "二") << "正の整数";
    QTest::newRow("gap in ids") << QString(row("危険", "GHS02", "H225")).replace(0, 1, "3")
                                << "連続していません（1 の次が 3）";
    QTest::newRow("duplicate id") << QString(row("危険", "GHS02", "H225")).replace(0, 1, "1") << "ID 1 が重複";
    QTest::newRow("bad cas") << QString(row("危険", "GHS02", "H225")).replace("乙\t", "乙\t67-64-2") << "CAS";
    QTest::newRow("unknown H") << row("危険", "GHS02", "H225,H999") << "H999";
    QTest::newRow("consumer P") << row("危険", "GHS02", "H225", "P101") << "P101";
    QTest::newRow("empty item") << row("危険", "GHS02", "H225,,H319") << "空の項目";
    QTest::newRow("precaution twice") << row("危険", "GHS02", "H225", "P210,P501,P210") << "P210 が重複";
    QTest::newRow("hazard twice") << row("危険", "GHS06", "H301+H311,H301") << "H301 が重複";
    QTest::newRow("unknown pictogram") << row("危険", "GHS02,GHS10", "H225") << "GHS10";
    QTest::newRow("pictograms out of order") << row("危険", "GHS07,GHS02", "H225,H319") << "順に";
    QTest::newRow("six pictograms") << row("危険", "GHS02,GHS05,GHS06,GHS07,GHS08,GHS09",
                                           "H225,H314,H331,H335,H334,H400")
                                    << "6 個";
    QTest::newRow("no classification") << "2\t水\t7732-18-5\t\t\t\t\t\t\t\t未確認\t\t"
                                       << "";
    // Pictogram precedence: no GHS07 at all beside GHS06; none for irritation beside GHS05;
    // none for irritation or skin sensitisation beside respiratory sensitisation.
    QTest::newRow("exclamation beside skull for acute toxicity")
        << row("危険", "GHS06,GHS07", "H301,H312") << "GHS06 があるので";
    QTest::newRow("exclamation beside skull for respiratory irritation")
        << row("危険", "GHS06,GHS07", "H331,H335") << "GHS06 があるので";
    QTest::newRow("exclamation beside skull for skin irritation")
        << row("危険", "GHS06,GHS07", "H301+H311,H315") << "GHS06 があるので";
    QTest::newRow("skull without exclamation") << row("危険", "GHS06", "H331,H335,H315") << "";
    QTest::newRow("exclamation beside corrosion for irritation")
        << row("警告", "GHS05,GHS07", "H290,H315") << "GHS05 があるので";
    QTest::newRow("corrosion and skin sensitisation") << row("危険", "GHS05,GHS07", "H314,H317") << "";
    QTest::newRow("corrosion and respiratory irritation") << row("危険", "GHS05,GHS07", "H314,H335") << "";
    QTest::newRow("exclamation beside respiratory sensitiser for skin sensitisation")
        << row("危険", "GHS07,GHS08", "H334,H317") << "呼吸器感作性";
    QTest::newRow("exclamation beside respiratory sensitiser for eye irritation")
        << row("危険", "GHS07,GHS08", "H334,H319") << "呼吸器感作性";
    QTest::newRow("respiratory sensitiser only") << row("危険", "GHS08", "H334,H317,H319") << "";
    QTest::newRow("respiratory sensitiser and respiratory irritation") << row("危険", "GHS07,GHS08", "H334,H335") << "";
    // Every statement's pictogram, and none without a statement.
    QTest::newRow("missing flame") << row("危険", "GHS07", "H225,H319") << "GHS02 が必要";
    QTest::newRow("missing exclamation") << row("警告", "", "H335") << "GHS07 が必要";
    QTest::newRow("pictogram without reason") << row("危険", "GHS02,GHS09", "H225,H412") << "GHS09 に当たる";
    QTest::newRow("type B without flame") << row("危険", "GHS01", "H241") << "GHS02 が必要";
    QTest::newRow("type B without bomb") << row("危険", "GHS02", "H241") << "GHS01 が必要";
    QTest::newRow("type B") << row("危険", "GHS01,GHS02", "H241") << "";
    QTest::newRow("aspiration category 2 without health hazard") << row("警告", "", "H305", "P501") << "GHS08 が必要";
    QTest::newRow("aspiration category 2") << row("警告", "GHS08", "H305", "P501") << "";
    // The signal word.
    QTest::newRow("bad signal word") << row("注意", "GHS02", "H225") << "「注意」";
    QTest::newRow("no signal word for H225") << row("", "GHS02", "H225") << "「危険」です";
    QTest::newRow("warning for H314") << row("警告", "GHS05", "H314") << "H314 があるので";
    QTest::newRow("danger without reason") << row("危険", "GHS07", "H319") << "当たる危険有害性情報";
    QTest::newRow("signal word not needed") << row("警告", "", "H412", "P501") << "要る";
    QTest::newRow("chronic toxicity only") << row("", "", "H412", "P501") << "";
    QTest::newRow("oxidiser without category") << row("警告", "GHS03", "H272") << "区分の列に";
    QTest::newRow("oxidiser category 2 as warning")
        << full("警告", "GHS03", "H272", "P210", "H272=2", "") << "「危険」です";
    QTest::newRow("oxidiser category 3 as danger")
        << full("危険", "GHS03", "H272", "P210", "H272=3", "") << "当たる危険有害性情報";
    QTest::newRow("oxidiser category 3") << full("警告", "GHS03", "H272", "P210", "H272=3", "") << "";
    QTest::newRow("oxidiser category 1") << full("危険", "GHS03", "H272", "P210", "H272=1", "") << "区分「1」";
    QTest::newRow("category for a decided code")
        << full("危険", "GHS02", "H225", "P210", "H225=2", "") << "区分「H225=2」";
    QTest::newRow("category not listed") << full("危険", "GHS02", "H225", "P210", "H272=3", "") << "H の列にありません";
    QTest::newRow("category not read, unverified") << full("危険", "GHS03", "H272", "P210", "H272=?", "") << "";
    QTest::newRow("category not read, warning")
        << full("警告", "GHS03", "H272", "P210", "H272=?", "") << "「危険」です";
    QTest::newRow("category not read, sourced")
        << full("危険", "GHS03", "H272", "P210", "H272=?", "", "", "NITE\tR02-B-001\t2020") << "区分「?」";
    // Finished text: every blank filled, no sentence twice.
    QTest::newRow("unfilled organ") << row("危険", "GHS08", "H372") << "「臓器」が埋まっていません";
    QTest::newRow("unfilled extinguishing media")
        << row("危険", "GHS02", "H225", "P370+P378") << "「消火剤」が埋まっていません";
    QTest::newRow("filled blanks") << full("危険", "GHS02,GHS08", "H225,H372", "P370+P378", "",
                                           "P378=粉末消火剤|H372=腎臓")
                                   << "";
    QTest::newRow("blank left in a fill-in") << full("危険", "GHS02", "H225", "P370+P378", "", "P378=…") << "空欄「…」";
    QTest::newRow("blank left in a name")
        << QString(row("危険", "GHS02", "H225")).replace("乙", "○○酸") << "空欄「○○」";
    QTest::newRow("fill-in malformed") << full("危険", "GHS02", "H225", "P210", "", "P210") << "コード=文言";
    QTest::newRow("fill-in without a blank")
        << full("危険", "GHS02", "H225", "P210", "", "P210=何か") << "空欄がこの物質の文にありません";
    QTest::newRow("fill-in twice") << full("危険", "GHS02", "H225", "P370+P378", "", "P378=水|P378=砂")
                                   << "差込 P378 が重複";
    QTest::newRow("sentence twice") << row("危険", "GHS02", "H225", "P233,P403+P233")
                                    << "「容器を密閉しておくこと」が P233 と P403+P233";
    QTest::newRow("sentence repeated as a clause") << row("危険", "GHS02", "H225", "P403+P233,P410+P403")
                                                   << "「換気の良い場所で保管すること」が P403+P233 と P410+P403";
    QTest::newRow("precaution repeating a part") << row("危険", "GHS06", "H301", "P301+P310,P310") << "";
    // The source columns.
    QTest::newRow("unknown source kind") << sourced("政府\t\t") << "出典「政府」";
    QTest::newRow("unverified with a year") << sourced("未確認\t\t2020") << "未確認";
    QTest::newRow("NITE without id") << sourced("NITE\t\t2020") << "ID がありません";
    QTest::newRow("NITE without year or list date") << sourced("NITE\tR02-B-001\t") << "出典年か出典版";
    QTest::newRow("EU index malformed") << sourced("EU\t603-001\t2008") << "索引番号";
    QTest::newRow("EU row") << sourced("EU\t603-001-00-X\t2008") << "";
    QTest::newRow("sourced row with a note") << sourced("NITE\tR02-B-001-MHLW,MOE\t2020\t覚え書き", "乙二|乙三") << "";
    QTest::newRow("empty alias") << sourced("未確認\t\t", "甲||丙") << "別名の列に空";
    QTest::newRow("alias is its own name") << sourced("未確認\t\t", "乙") << "別名「乙」が重複";
    QTest::newRow("alias is another's name") << sourced("未確認\t\t", "アセトン") << "ID 1 の物質名";
}

void TestMaster::rows()
{
    QFETCH(QString, row);
    QFETCH(QString, message);
    const MasterSourceResult result = readRows(
        QStringLiteral("1\tアセトン\t67-64-1\t危険\tGHS02,GHS07\tH225,H319\tP210,P501\t\t\t\t未確認\t\t\n") + row);

    if (message.isEmpty()) {
        QVERIFY2(result.errors.empty(), qPrintable(describe(result.errors)));
        QCOMPARE(result.substances.size(), size_t(2));
        return;
    }
    QCOMPARE(result.substances.size(), size_t(1)); // the bad row is left out, the good one kept
    QCOMPARE(result.substances.front().name, QStringLiteral("アセトン"));
    bool found = false;
    for (const MasterError &e : result.errors) {
        QCOMPARE(e.file, QStringLiteral("s.tsv"));
        QCOMPARE(e.line, 2);
        found = found || e.message.contains(message);
    }
    QVERIFY2(found, qPrintable(describe(result.errors)));
}

void TestMaster::statementFileErrors()
{
    const QString hazards = QStringLiteral("H225\t引火性の高い液体及び蒸気\n"
                                           "H226 引火性液体及び蒸気\n"     // no tab
                                           "HX01\t何か\n"                  // not a code
                                           "H225\t二度目\n"                // duplicate
                                           "H319\t\n"                      // no text
                                           "P210\t熱から遠ざけること。\n"  // P code in the H file
                                           "H370\t…の障害\n"               // blank not written {名前}
                                           "H371\t{臓器の障害のおそれ\n"); // blank not closed
    const MasterSourceResult result = readMasterSource(hazards, "h.tsv", QString(), "p.tsv", "# nothing\n\n", "s.tsv");
    QList<QPair<QString, int>> places;
    for (const MasterError &e : result.errors)
        places.append({e.file, e.line});
    const QList<QPair<QString, int>> expected{{"h.tsv", 2}, {"h.tsv", 3}, {"h.tsv", 4}, {"h.tsv", 5}, {"h.tsv", 6},
                                              {"h.tsv", 7}, {"h.tsv", 8}, {"p.tsv", 0}, {"s.tsv", 0}};
    QCOMPARE(places, expected);
    QVERIFY(result.substances.empty());
}

void TestMaster::composition()
{
    const MasterSourceResult result = readRows(
        "1\tアセトン\t67-64-1\t危険\tGHS02,GHS07\tH225,H319\tP501,P403+P235,P210,P305+P351+P338,P280\t\t\t\t未確認\t\t\n"
        "2\t乙\t\t警告\tGHS07\tH319\tP280\t\t\t\t未確認\t\t\n");
    QVERIFY2(result.errors.empty(), qPrintable(describe(result.errors)));
    QCOMPARE(result.substances.size(), size_t(2));

    const ComposedSubstance &a = result.substances.at(0);
    QCOMPARE(a.cas, QStringLiteral("67-64-1"));
    QCOMPARE(a.signalWord, QStringLiteral("危険"));
    QCOMPARE(a.hazards, QStringLiteral("引火性の高い液体及び蒸気\r\n強い眼刺激"));
    QCOMPARE(a.precautions, QStringLiteral("【安全対策】\r\n熱から遠ざけること。\r\n保護手袋を着用すること。\r\n"
                                           "【応急措置】\r\n眼に入った場合：水で数分間注意深く洗うこと。\r\n"
                                           "【保管】\r\n換気の良い場所で保管すること。涼しいところに置くこと。\r\n"
                                           "【廃棄】\r\n内容物/容器を廃棄すること。"));
    QCOMPARE(a.pictures, QStringList({"GHS02.svg", "GHS07.svg"}));
    QCOMPARE(result.substances.at(1).precautions, QStringLiteral("【安全対策】\r\n保護手袋を着用すること。"));
}

void TestMaster::placeholdersAndSourceLine()
{
    const QString row = QStringLiteral("1\t甲\t67-64-1\t危険\tGHS02,GHS08\tH225,H372\tP210,P370+P378\t\t"
                                       "P378=粉末消火剤、二酸化炭素|H372=腎臓|H372:経路=（吸入）\t甲一|甲二\t"
                                       "NITE\tR02-B-001-MHLW,MOE\t2020\t覚え書き");
    MasterSourceResult result = readRows(row);
    QVERIFY2(result.errors.empty(), qPrintable(describe(result.errors)));
    const ComposedSubstance &s = result.substances.at(0);
    QCOMPARE(s.hazards,
             QStringLiteral("引火性の高い液体及び蒸気\r\n長期にわたる、又は反復ばく露による腎臓の障害（吸入）"));
    QCOMPARE(
        s.precautions,
        QStringLiteral(
            "【安全対策】\r\n熱から遠ざけること。\r\n【応急措置】\r\n火災の場合：消火するために粉末消火剤、二酸化炭素を使用すること。"));
    QCOMPARE(s.aliases, QStringList({"甲一", "甲二"}));
    QCOMPARE(s.sourceKind, SourceKind::Nite);
    QCOMPARE(s.sourceYear, 2020);
    QCOMPARE(substanceSourceLine(s), row); // the row written back is the row read

    // An optional blank left unfilled prints nothing.
    result = readRows(QString(row).remove(QStringLiteral("|H372:経路=（吸入）")));
    QVERIFY2(result.errors.empty(), qPrintable(describe(result.errors)));
    QVERIFY(result.substances.at(0).hazards.endsWith(QStringLiteral("腎臓の障害")));
}

void TestMaster::lineEndingsAndBom()
{
    const QString lf = QStringLiteral(
        "# comment\n1\t甲\t\t危険\tGHS02\tH225\tP210\t\t\t\t未確認\t\t\n\n2\t乙\t\t警告\tGHS07\tH319\tP280\t\t\t\t未確認\t\t\n");
    for (const QString &text :
         {lf, QString(lf).replace("\n", "\r\n"), QString(lf).replace("\n", "\r"), QChar(0xFEFF) + lf, lf.chopped(1)}) {
        const MasterSourceResult result = readRows(text);
        QVERIFY2(result.errors.empty(), qPrintable(describe(result.errors)));
        QCOMPARE(result.substances.size(), size_t(2));
        QCOMPARE(result.substances.at(1).hazards, QStringLiteral("強い眼刺激"));
    }
    // Line numbers count blank lines and comments, whatever ends the lines.
    const MasterSourceResult bad = readRows("\r\n# x\r\n1\t甲\t\t危険\t\tH225\tP210\t\t\t\t未確認\t\t\r\n");
    QCOMPARE(bad.errors.size(), size_t(1));
    QCOMPARE(bad.errors.front().line, 3);
}

void TestMaster::garbage()
{
    const QString valid =
        QStringLiteral("1\tアセトン\t67-64-1\t危険\tGHS02,GHS07\tH225,H319\tP210,P501\t\t\t\t未確認\t\t\n").repeated(3);
    const QString alphabet = QStringLiteral("\t\n\r,+#1234567890HPGS危険警告\uFEFF ");
    QRandomGenerator random(20240607);
    for (int round = 0; round < 2000; ++round) {
        QString text = valid;
        for (int edit = random.bounded(1, 8); edit > 0; --edit) {
            const qsizetype at = random.bounded(text.size() + 1);
            if (random.bounded(2) == 0)
                text.insert(at, alphabet.at(random.bounded(alphabet.size())));
            else
                text.remove(at, random.bounded(1, 6));
        }
        const int lineCount = int(text.count(QLatin1Char('\n')) + text.count(QLatin1Char('\r')) + 1);
        const MasterSourceResult result = readMasterSource(kHazards, "h", kPrecautions, "p", text, "s");
        for (const MasterError &e : result.errors) {
            QCOMPARE(e.file, QStringLiteral("s"));
            QVERIFY(e.line >= 0 && e.line <= lineCount && !e.message.isEmpty());
        }
        QVERIFY(result.substances.size() <= 3);
    }
}

QTEST_MAIN(TestMaster)
#include "tst_master.moc"
