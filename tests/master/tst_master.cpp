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
    "H335\t呼吸器への刺激のおそれ\nH400\t水生生物に非常に強い毒性\nH412\t長期継続的影響によって水生生物に有害\n");
const QString kPrecautions = QStringLiteral(
    "P101\t医学的な助言が必要なときには、製品容器やラベルを持っていること。\n"
    "P210\t熱から遠ざけること。\nP280\t保護手袋を着用すること。\n"
    "P301+P310\t飲み込んだ場合：直ちに医師に連絡すること。\nP305+P351+P338\t眼に入った場合：水で数分間注意深く洗うこと。\n"
    "P310\t直ちに医師に連絡すること。\nP403+P235\t換気の良い場所で保管すること。涼しいところに置くこと。\n"
    "P501\t内容物/容器を廃棄すること。\n");

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
    const QStringList required = QStringLiteral(
        "H200 H229 H230 H231 H232 H304 H305 H362 H420 H300+H310+H330 H301+H311+H331 H302+H312+H332 "
        "H303+H313+H333 H315+H320 P231+P232 P280 P301+P330+P331 P303+P361+P353 P305+P351+P338 P361+P364 "
        "P370+P378 P403+P233 P410+P403 P501").split(QLatin1Char(' '));
    for (const QString &code : required)
        QVERIFY2(hazards.contains(code) || precautions.contains(code), qPrintable(code));
    for (auto it = precautions.cbegin(); it != precautions.cend(); ++it)
        QVERIFY2(!it.key().startsWith(QLatin1String("P1")), qPrintable(it.key()));

    const MasterSourceResult result = readMasterFolder(kSourceDir + QStringLiteral("/data/master"));
    QVERIFY2(result.errors.empty(), qPrintable(describe(result.errors)));
    QVERIFY(result.substances.size() >= 200);

    static const QRegularExpression loneBreak(QStringLiteral("(?<!\\r)\\n|\\r(?!\\n)"));
    static const QRegularExpression heading(QStringLiteral("^【(安全対策|応急措置|保管|廃棄)】$"));
    const QDir pictogramDir(kSourceDir + QStringLiteral("/data/pictograms"));
    int expectedId = 1;
    for (const ComposedSubstance &s : result.substances) {
        const QString where = QStringLiteral("ID %1 %2: ").arg(s.id).arg(s.name);
        QCOMPARE(s.id, expectedId++);
        QVERIFY2(!loneBreak.match(s.hazards + s.precautions).hasMatch(), qPrintable(where));
        for (const QString &line : s.hazards.split(QStringLiteral("\r\n")))
            QVERIFY2(!hazards.key(line).isEmpty(), qPrintable(where + line));
        for (const QString &line : s.precautions.split(QStringLiteral("\r\n")))
            QVERIFY2(heading.match(line).hasMatch() || !precautions.key(line).isEmpty(), qPrintable(where + line));
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
    QCOMPARE(blackOnFrame, 0);                      // the symbol stays off the red band
    QCOMPARE(image.pixelColor(2, 2).alpha(), 0);    // nothing outside the diamond
    QCOMPARE(image.pixelColor(197, 197).alpha(), 0);
}

void TestMaster::rows_data()
{
    QTest::addColumn<QString>("row");      // line 2, after a valid line 1
    QTest::addColumn<QString>("message");  // part of the expected error; empty: the row is valid

    auto row = [](const char *signal, const char *pictograms, const char *h, const char *p = "P210") {
        return QStringLiteral("2\t乙\t\t%1\t%2\t%3\t%4\t\t\t\t未確認\t\t").arg(signal, pictograms, h, p);
    };
    QTest::newRow("too few columns") << "2\t乙\t71-43-2\t危険\tGHS02\tH225" << "列の数";
    QTest::newRow("id not a number") << "二\t乙\t\t危険\tGHS02\tH225\tP210\t\t\t\t未確認\t\t" << "正の整数";
    QTest::newRow("gap in ids") << "3\t乙\t\t危険\tGHS02\tH225\tP210\t\t\t\t未確認\t\t" << "連続していません（1 の次が 3）";
    QTest::newRow("duplicate id") << "1\t乙\t\t危険\tGHS02\tH225\tP210\t\t\t\t未確認\t\t" << "ID 1 が重複";
    QTest::newRow("bad cas") << "2\t乙\t67-64-2\t危険\tGHS02\tH225\tP210\t\t\t\t未確認\t\t" << "CAS";
    QTest::newRow("unknown H") << row("危険", "GHS02", "H225,H999") << "H999";
    QTest::newRow("consumer P") << row("危険", "GHS02", "H225", "P101") << "P101";
    QTest::newRow("empty item") << row("危険", "GHS02", "H225,,H319") << "空の項目";
    QTest::newRow("precaution twice") << row("危険", "GHS02", "H225", "P210,P501,P210") << "P210 が重複";
    QTest::newRow("hazard twice") << row("危険", "GHS06", "H301+H311,H301") << "H301 が重複";
    QTest::newRow("bad signal word") << row("注意", "GHS02", "H225") << "「注意」";
    QTest::newRow("unknown pictogram") << row("危険", "GHS02,GHS10", "H225") << "GHS10";
    QTest::newRow("pictograms out of order") << row("危険", "GHS07,GHS02", "H225,H319") << "順に";
    QTest::newRow("six pictograms")
        << row("危険", "GHS02,GHS05,GHS06,GHS07,GHS08,GHS09", "H225,H314,H331,H335,H334,H400") << "6 個";
    QTest::newRow("exclamation beside skull") << row("危険", "GHS06,GHS07", "H301,H312") << "GHS07 は";
    QTest::newRow("exclamation beside corrosion") << row("警告", "GHS05,GHS07", "H290,H315") << "GHS07 は";
    QTest::newRow("exclamation beside respiratory sensitiser") << row("危険", "GHS07,GHS08", "H334,H317") << "GHS07 は";
    QTest::newRow("no signal word for H225") << row("", "GHS02", "H225") << "「危険」です";
    QTest::newRow("warning for H314") << row("警告", "GHS05", "H314") << "H314 があるので";
    QTest::newRow("danger without reason") << row("危険", "GHS07", "H319") << "当たる危険有害性情報がありません";
    QTest::newRow("signal word not needed") << row("警告", "", "H412", "P501") << "要る";
    QTest::newRow("missing flame") << row("危険", "GHS07", "H225,H319") << "GHS02 が必要";
    QTest::newRow("missing exclamation") << row("警告", "", "H335") << "GHS07 が必要";
    QTest::newRow("pictogram without reason") << row("危険", "GHS02,GHS09", "H225,H412") << "GHS09 に当たる";
    // The exclamation mark stays where it stands for something the stronger sign does not cover.
    QTest::newRow("skull and respiratory irritation") << row("危険", "GHS06,GHS07", "H331,H335") << "";
    QTest::newRow("corrosion and skin sensitisation") << row("危険", "GHS05,GHS07", "H314,H317") << "";
    QTest::newRow("skull and skin irritation") << row("危険", "GHS06,GHS07", "H301+H311,H315") << "";
    QTest::newRow("respiratory sensitiser only") << row("危険", "GHS08", "H334,H317,H319") << "";
    QTest::newRow("precaution repeating a part") << row("危険", "GHS06", "H301", "P301+P310,P310") << "";
    QTest::newRow("chronic toxicity only") << row("", "", "H412", "P501") << "";
    // The source columns.
    auto tail = [](const char *categories, const char *fillIns, const char *aliases, const char *source) {
        return QStringLiteral("2\t乙\t\t危険\tGHS02\tH225\tP210\t%1\t%2\t%3\t%4").arg(categories, fillIns, aliases, source);
    };
    QTest::newRow("unknown source kind") << tail("", "", "", "政府\t\t") << "出典「政府」";
    QTest::newRow("unverified with a year") << tail("", "", "", "未確認\t\t2020") << "未確認";
    QTest::newRow("NITE without id") << tail("", "", "", "NITE\t\t2020") << "ID がありません";
    QTest::newRow("NITE without year") << tail("", "", "", "NITE\tR02-B-001\t") << "西暦 4 桁";
    QTest::newRow("EU index malformed") << tail("", "", "", "EU\t603-001\t2008") << "索引番号";
    QTest::newRow("category for a decided code") << tail("H225=2", "", "", "未確認\t\t") << "区分「H225=2」";
    QTest::newRow("category not listed") << tail("H272=3", "", "", "未確認\t\t") << "H の列にありません";
    QTest::newRow("empty alias") << tail("", "", "甲||丙", "未確認\t\t") << "別名の列に空";
    QTest::newRow("alias is its own name") << tail("", "", "乙", "未確認\t\t") << "別名「乙」が重複";
    QTest::newRow("alias is another's name") << tail("", "", "アセトン", "未確認\t\t") << "ID 1 の物質名";
    QTest::newRow("fill-in malformed") << tail("", "P210", "", "未確認\t\t") << "コード=文言";
    QTest::newRow("fill-in without a blank") << tail("", "P210=何か", "", "未確認\t\t") << "空欄がこの物質の文にありません";
    QTest::newRow("sourced row") << tail("", "", "乙二|乙三", "NITE\tR02-B-001-MHLW,MOE\t2020\t覚え書き") << "";
    QTest::newRow("EU row") << tail("", "", "", "EU\t603-001-00-X\t2008") << "";
    QTest::newRow("no classification") << "2\t水\t7732-18-5\t\t\t\t\t\t\t\t未確認\t\t" << "";
}

void TestMaster::rows()
{
    QFETCH(QString, row);
    QFETCH(QString, message);
    const MasterSourceResult result =
        readRows(QStringLiteral("1\tアセトン\t67-64-1\t危険\tGHS02,GHS07\tH225,H319\tP210,P501\t\t\t\t未確認\t\t\n") + row);

    if (message.isEmpty()) {
        QVERIFY2(result.errors.empty(), qPrintable(describe(result.errors)));
        QCOMPARE(result.substances.size(), size_t(2));
        return;
    }
    QCOMPARE(result.substances.size(), size_t(1));  // the bad row is left out, the good one kept
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
                                           "H226 引火性液体及び蒸気\n"        // no tab
                                           "HX01\t何か\n"                     // not a code
                                           "H225\t二度目\n"                   // duplicate
                                           "H319\t\n"                         // no text
                                           "P210\t熱から遠ざけること。\n");   // P code in the H file
    const MasterSourceResult result = readMasterSource(hazards, "h.tsv", QString(), "p.tsv", "# nothing\n\n", "s.tsv");
    QList<QPair<QString, int>> places;
    for (const MasterError &e : result.errors)
        places.append({e.file, e.line});
    const QList<QPair<QString, int>> expected{{"h.tsv", 2}, {"h.tsv", 3}, {"h.tsv", 4}, {"h.tsv", 5}, {"h.tsv", 6},
                                              {"p.tsv", 0}, {"s.tsv", 0}};
    QCOMPARE(places, expected);
    QVERIFY(result.substances.empty());
}

void TestMaster::composition()
{
    const MasterSourceResult result =
        readRows("1\tアセトン\t67-64-1\t危険\tGHS02,GHS07\tH225,H319\tP501,P403+P235,P210,P305+P351+P338,P280\t\t\t\t未確認\t\t\n"
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
    const QString hazards = kHazards + QStringLiteral("H372\t長期にわたる、又は反復ばく露による{臓器}の障害{経路?}\n");
    const QString precautions = kPrecautions + QStringLiteral("P370+P378\t火災の場合：消火するために{消火剤}を使用すること。\n");
    const QString row = QStringLiteral("1\t甲\t67-64-1\t危険\tGHS02,GHS08\tH225,H372\tP210,P370+P378\t\t"
                                       "P378=粉末消火剤、二酸化炭素|H372=腎臓|H372:経路=（吸入）\t甲一|甲二\t"
                                       "NITE\tR02-B-001-MHLW,MOE\t2020\t覚え書き");
    MasterSourceResult result = readMasterSource(hazards, "h", precautions, "p", row, "s");
    QVERIFY2(result.errors.empty(), qPrintable(describe(result.errors)));
    const ComposedSubstance &s = result.substances.at(0);
    QCOMPARE(s.hazards, QStringLiteral("引火性の高い液体及び蒸気\r\n長期にわたる、又は反復ばく露による腎臓の障害（吸入）"));
    QCOMPARE(s.precautions, QStringLiteral("【安全対策】\r\n熱から遠ざけること。\r\n【応急措置】\r\n火災の場合：消火するために粉末消火剤、二酸化炭素を使用すること。"));
    QCOMPARE(s.aliases, QStringList({"甲一", "甲二"}));
    QCOMPARE(s.sourceKind, SourceKind::Nite);
    QCOMPARE(s.sourceYear, 2020);
    QCOMPARE(substanceSourceLine(s), row);  // the row written back is the row read

    // An unfilled required blank is refused; an optional one prints nothing.
    QString unfilled = row;
    unfilled.replace(QStringLiteral("|H372=腎臓|H372:経路=（吸入）"), QString());
    result = readMasterSource(hazards, "h", precautions, "p", unfilled, "s");
    QVERIFY(result.substances.empty());
    QVERIFY2(describe(result.errors).contains(QStringLiteral("「臓器」が埋まっていません")), qPrintable(describe(result.errors)));
    QString noRoute = row;
    noRoute.replace(QStringLiteral("|H372:経路=（吸入）"), QString());
    result = readMasterSource(hazards, "h", precautions, "p", noRoute, "s");
    QVERIFY2(result.errors.empty(), qPrintable(describe(result.errors)));
    QVERIFY(result.substances.at(0).hazards.endsWith(QStringLiteral("腎臓の障害")));

    // A malformed blank in a statement table is refused with its line.
    result = readMasterSource(kHazards + QStringLiteral("H373\t{臓器の障害\n"), "h", precautions, "p", QString(), "s");
    QVERIFY2(describe(result.errors).contains(QStringLiteral("h:16: H373 の空欄")), qPrintable(describe(result.errors)));
}

void TestMaster::lineEndingsAndBom()
{
    const QString lf = QStringLiteral("# comment\n1\t甲\t\t危険\tGHS02\tH225\tP210\t\t\t\t未確認\t\t\n\n2\t乙\t\t警告\tGHS07\tH319\tP280\t\t\t\t未確認\t\t\n");
    for (const QString &text : {lf, QString(lf).replace("\n", "\r\n"), QString(lf).replace("\n", "\r"),
                                QChar(0xFEFF) + lf, lf.chopped(1)}) {
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
    const QString valid = QStringLiteral("1\tアセトン\t67-64-1\t危険\tGHS02,GHS07\tH225,H319\tP210,P501\t\t\t\t未確認\t\t\n").repeated(3);
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
