// Reading the government's workbooks: every cell form of NITE's list, a cell not understood
// named with its row and column, and MHLW's lists of substances to be labelled. The workbooks
// are written by the test itself in the shape the published files have.
#include "LegalList.h"
#include "NiteList.h"
#include "WorkbookWriter.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace corvane::ghs;
using corvane::test::SheetRows;
using corvane::test::writeWorkbook;

namespace {

const QDateTime kSaved(QDate(2026, 2, 27), QTime(1, 5, 41), Qt::UTC);

std::vector<HazardClass> columns()
{
    std::vector<HazardClass> classes;
    for (HazardClass c : allHazardClasses())
        if (c != HazardClass::Lactation)
            classes.push_back(c);
    return classes;
}

QStringList niteHeading()
{
    QStringList heading{"CAS RN", "CAS RN (ハイフン抜き)", "物質名称", "GHS分類結果_ID"};
    for (HazardClass c : columns())
        heading << hazardClassName(c);
    return heading << "詳細情報"
                   << "モデルラベル"
                   << "モデルSDS";
}

// A row of the list: every class 分類できない but the ones given.
QStringList niteRow(const QString &cas, const QString &name, const QString &id,
                    const QHash<HazardClass, QString> &cells = {})
{
    QStringList row{cas, QString(cas).remove(QLatin1Char('-')), name, id};
    for (HazardClass c : columns())
        row << cells.value(c, QStringLiteral("分類できない"));
    return row;
}

QString describe(const std::vector<ClassEntry> &entries)
{
    QStringList items;
    for (const ClassEntry &e : entries)
        items << hazardClassKey(e.hazardClass) + QLatin1Char('=') + e.category
                     + (e.organs.isEmpty() ? QString()
                                           : QLatin1Char('(') + e.organs.join(QStringLiteral("、")) + QLatin1Char(')'));
    return items.join(QLatin1Char(';'));
}

} // namespace

class TestGovernmentLists : public QObject {
    Q_OBJECT

private slots:
    void cellForms_data();
    void cellForms();
    void niteListShape();
    void legalLists();

private:
    QTemporaryDir folder;
    int written = 0;
    QString path() { return folder.filePath(QStringLiteral("list%1.xlsx").arg(++written)); }
};

void TestGovernmentLists::cellForms_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("expected"); // entries, or "!" and part of the error

    const int classified = int(CellVerdict::Classified);
    QTest::newRow("category") << "FlammableLiquids"
                              << "区分2" << classified << "FlammableLiquids=2";
    QTest::newRow("full-width digit and letter") << "Carcinogenicity"
                                                 << "区分１Ａ" << classified << "Carcinogenicity=1A";
    QTest::newRow("2B") << "EyeDamage"
                        << "区分2B" << classified << "EyeDamage=2B";
    QTest::newRow("Japan's fourth flammable liquid") << "FlammableLiquids"
                                                     << "区分４" << classified << "FlammableLiquids=4";
    QTest::newRow("effects with stray spaces")
        << "StotSingle"
        << "区分3 （気道刺激性、 麻酔作用）" << classified << "StotSingle=3(気道刺激性、麻酔作用)";
    QTest::newRow("several categories with organs")
        << "StotSingle"
        << "区分1（中枢神経系、視覚器、全身毒性）、区分3（麻酔作用）" << classified
        << "StotSingle=1(中枢神経系、視覚器、全身毒性);StotSingle=3(麻酔作用)";
    QTest::newRow("brackets inside an organ's name")
        << "StotRepeated"
        << "区分1 （神経系、生殖器 （男性）） 、区分2 （肝臓）" << classified
        << "StotRepeated=1(神経系、生殖器（男性）);StotRepeated=2(肝臓)";
    QTest::newRow("half-width brackets") << "StotRepeated"
                                         << "区分2(腎臓)" << classified << "StotRepeated=2(腎臓)";
    QTest::newRow("type") << "OrganicPeroxides"
                          << "タイプB" << classified << "OrganicPeroxides=タイプB";
    QTest::newRow("division") << "Explosives"
                              << "等級1.1" << classified << "Explosives=等級1.1";
    QTest::newRow("unstable explosive") << "Explosives"
                                        << "不安定爆発物" << classified << "Explosives=不安定爆発物";
    QTest::newRow("liquefied gas") << "GasesUnderPressure"
                                   << "液化ガス" << classified << "GasesUnderPressure=液化ガス";
    QTest::newRow("refrigerated liquefied gas") << "GasesUnderPressure"
                                                << "深冷液化ガス" << classified << "GasesUnderPressure=深冷液化ガス";
    QTest::newRow("low-pressure liquefied gas") << "GasesUnderPressure"
                                                << "低圧液化ガス" << classified << "GasesUnderPressure=低圧液化ガス";
    QTest::newRow("chemically unstable gas")
        << "FlammableGases"
        << "区分1、化学的に不安定なガス区分B" << classified << "FlammableGases=1;FlammableGases=化学的に不安定なガスB";
    QTest::newRow("chemically unstable gas, short")
        << "FlammableGases"
        << "区分1、B" << classified << "FlammableGases=1;FlammableGases=化学的に不安定なガスB";
    QTest::newRow("lactation beside reproductive toxicity")
        << "ReproductiveToxicity"
        << "区分1B、授乳に対するまたは授乳を介した影響に関する追加区分" << classified
        << "ReproductiveToxicity=1B;Lactation=追加区分";
    QTest::newRow("lactation alone") << "ReproductiveToxicity"
                                     << "分類できない、授乳に対するまたは授乳を介した影響に関する追加区分" << classified
                                     << "Lactation=追加区分";
    QTest::newRow("not classified") << "SkinCorrosion"
                                    << "区分に該当しない" << int(CellVerdict::NotClassified) << "";
    QTest::newRow("not applicable") << "Explosives"
                                    << "区分に該当しない（分類対象外）" << int(CellVerdict::NotApplicable) << "";
    QTest::newRow("cannot classify") << "AcuteOral"
                                     << "分類できない" << int(CellVerdict::CannotClassify) << "";
    QTest::newRow("not in the edition") << "DesensitisedExplosives"
                                        << "-" << int(CellVerdict::NotInEdition) << "";
    // Anything else stops the reading.
    QTest::newRow("a category the class lacks") << "FlammableLiquids"
                                                << "区分7" << 0 << "!「区分7」はこの分類の区分ではありません";
    QTest::newRow("organs missing") << "StotSingle"
                                    << "区分1" << 0 << "!臓器・影響が書かれていません";
    QTest::newRow("organs where none belong") << "FlammableLiquids"
                                              << "区分2（肝臓）" << 0 << "!括弧書き";
    QTest::newRow("bracket left open") << "StotRepeated"
                                       << "区分1（中枢神経系" << 0 << "!括弧の対応";
    QTest::newRow("unknown word") << "OrganicPeroxides"
                                  << "タイプH" << 0 << "!「タイプH」が読めません";
    QTest::newRow("lactation in another column")
        << "Carcinogenicity"
        << "授乳に対するまたは授乳を介した影響に関する追加区分" << 0 << "!が読めません";
    QTest::newRow("empty cell") << "AcuteDermal"
                                << "" << 0 << "!空欄";
}

void TestGovernmentLists::cellForms()
{
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(int, verdict);
    QFETCH(QString, expected);
    const HazardClass hazardClass = *hazardClassFromKey(column);
    const QString file = path();
    QVERIFY(
        writeWorkbook(file,
                      {{QStringLiteral("NITE統合版GHS分類結果"),
                        {niteHeading(), niteRow("67-56-1", "メタノール", "m-nite-67-56-1", {{hazardClass, text}})}}},
                      kSaved));
    const auto list = readNiteList(file);
    const QString error = list.errorText();
    if (expected.startsWith(QLatin1Char('!'))) {
        QVERIFY(!list);
        const std::vector<HazardClass> classes = columns();
        const int columnNumber = 5 + int(std::find(classes.begin(), classes.end(), hazardClass) - classes.begin());
        const QString where = QStringLiteral("2行目 %1列").arg(corvane::test::columnLetters(columnNumber));
        QVERIFY2(error.contains(where) && error.contains(expected.mid(1))
                     && error.contains(hazardClassName(hazardClass)),
                 qPrintable(error));
        return;
    }
    QVERIFY2(list, qPrintable(error));
    QCOMPARE(list->substances.size(), size_t(1));
    const NiteSubstance &substance = list->substances.front();
    const auto cell = std::find_if(substance.cells.begin(), substance.cells.end(),
                                   [&](const ClassCell &c) { return c.column == hazardClass; });
    QCOMPARE(int(cell->reading.verdict), verdict);
    QCOMPARE(cell->text, text);
    QCOMPARE(describe(substance.entries()), expected);
}

void TestGovernmentLists::niteListShape()
{
    // The list's date is the workbook's own; a phonetic guide never joins a name; two forms of
    // one CAS RN, a row listing further CAS RNs and a row without a CAS RN are read.
    QString file = path();
    QVERIFY(writeWorkbook(file,
                          {{QStringLiteral("NITE統合版GHS分類結果"),
                            {niteHeading(), niteRow("7664-39-3", "フッ化水素酸", "m-nite-7664-39-3"),
                             niteRow("7664-39-3", "フッ化水素", "m-nite-7664-39-3a"),
                             niteRow("141-90-2, 80275-68-9", "チオウラシル", "m-nite-80275-68-9"),
                             niteRow("", "ダイオキシン類", "m-nite-nocas-0004"), QStringList{}}}},
                          kSaved));
    auto list = readNiteList(file);
    QVERIFY2(list, qPrintable(list.errorText()));
    QCOMPARE(list->saved, QDate(2026, 2, 27));
    QCOMPARE(list->substances.size(), size_t(4));
    QCOMPARE(list->substances[1].name, QStringLiteral("フッ化水素"));
    QCOMPARE(list->substances[1].cas, QStringLiteral("7664-39-3"));
    QCOMPARE(list->substances[2].cas, QStringLiteral("80275-68-9"));
    QCOMPARE(list->substances[2].otherCas, QStringList{QStringLiteral("141-90-2")});
    QCOMPARE(list->substances[3].cas, QString());

    // Refused, naming what is wrong: another workbook, an ID twice, a CAS RN the ID does not name.
    const std::vector<std::pair<std::vector<QStringList>, QString>> refused{
        {{QStringList{"名称", "CAS"}, niteRow("67-56-1", "メタノール", "m-nite-67-56-1")}, "一覧ではありません"},
        {{niteHeading(), niteRow("67-56-1", "メタノール", "m-nite-67-56-1"),
          niteRow("67-56-1", "メタノール", "m-nite-67-56-1")},
         "3行目 D列: ID「m-nite-67-56-1」が二度"},
        {{niteHeading(), niteRow("64-17-5", "エタノール", "m-nite-67-56-1")},
         "2行目 A列: CAS 番号「64-17-5」に ID の CAS 番号 67-56-1 がありません"},
    };
    for (const auto &[rows, message] : refused) {
        file = path();
        QVERIFY(writeWorkbook(file, {{QStringLiteral("NITE統合版GHS分類結果"), rows}}, kSaved));
        const auto read = readNiteList(file);
        QVERIFY(!read);
        QVERIFY2(read.errorText().contains(message), qPrintable(read.errorText()));
    }
    // Not a workbook at all.
    QFile text(folder.filePath(QStringLiteral("list.xlsx")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("CAS RN\t物質名称\n");
    text.close();
    const auto notWorkbook = readNiteList(text.fileName());
    QVERIFY(!notWorkbook);
    QVERIFY2(notWorkbook.errorText().contains(QStringLiteral("Excel ブック")), qPrintable(notWorkbook.errorText()));
}

void TestGovernmentLists::legalLists()
{
    const QStringList heading{"",
                              "安衛則別表第２の番号",
                              "名称",
                              "英語名称",
                              "CAS RN ＊１",
                              "ラベル表示に係る裾切値 (重量％)",
                              "ＳＤＳ交付等に係る裾切値 (重量％)",
                              "備考"};
    const QString file = path();
    QVERIFY(writeWorkbook(
        file,
        {{QStringLiteral("R9.4月対象物質"),
          {{""},
           {"労働安全衛生法に基づくラベル表示・ＳＤＳ交付等の義務対象物質一覧（令和9年4月1日施行分）"},
           {"３　労働安全衛生規則別表第２"},
           heading,
           {"#1", "#1437", "トルエン", "Toluene", "108-88-3　", "#0.3", "#0.1",
            "＊３\n令和８年度までのラベル表示に係る裾切値：1%"},
           {"#2", "#1487", "ニトロトルエン", "Nitrotoluene", "1321-12-6他", "下記3行のとおり", "下記3行のとおり",
            "＊３"},
           {"", "", "２－ニトロトルエン", "2-Nitrotoluene", "88-72-2", "#0.1", "#0.1", ""},
           {"#3", "#1474", "ニトログリセリン", "Nitroglycerin", "55-63-0", "－", "－",
            "＊３\n98パーセント以上の鈍感剤で鈍性化した物"},
           {"#4", "#2273", "六弗化硫黄", "Sulfur hexafluoride", "2551-62-4", "#1", "#1", "＊５"},
           {"#5", "#1836", "プロピルアルコール", "Propyl alcohol", "71-23-8, 67-63-0", "#1", "#1", "＊６"},
           {"備考："},
           {"＊３　令和7年3月31日以前からラベル表示・ＳＤＳ交付等の義務対象物質となっている物。"},
           {"＊５　令和８年4月1日からラベル表示・ＳＤＳ交付等の義務対象物質に追加される物。"},
           {"＊６　令和９年4月1日からラベル表示・ＳＤＳ交付等の義務対象物質に追加される物。"}}}},
        kSaved));
    const auto list = readLegalLists({file});
    QVERIFY2(list, qPrintable(list.errorText()));
    QCOMPARE(list->listDate, QDate(2027, 4, 1));
    const LegalEntry *toluene = legalEntryFor(*list, QStringLiteral("108-88-3"));
    QVERIFY(toluene);
    QCOMPARE(toluene->name, QStringLiteral("トルエン"));
    QCOMPARE(toluene->sinceText(), QStringLiteral("2025-03-31以前"));
    QCOMPARE(toluene->labelCutoff, QStringLiteral("0.3"));
    QCOMPARE(toluene->earlierLabelCutoff, QStringLiteral("1"));
    QCOMPARE(toluene->cutoffChangedOn, QDate(2027, 4, 1));
    const LegalEntry *part = legalEntryFor(*list, QStringLiteral("88-72-2"));
    QVERIFY(part);
    QCOMPARE(part->group, QStringLiteral("ニトロトルエン"));
    QCOMPARE(part->number, QStringLiteral("1487"));
    QCOMPARE(part->sinceText(), QStringLiteral("2025-03-31以前"));
    QVERIFY(!legalEntryFor(*list, QStringLiteral("1321-12-6"))
            || legalEntryFor(*list, QStringLiteral("1321-12-6"))->casAndOthers);
    QCOMPARE(legalEntryFor(*list, QStringLiteral("55-63-0"))->labelCutoff, QStringLiteral("－"));
    QCOMPARE(legalEntryFor(*list, QStringLiteral("2551-62-4"))->sinceText(), QStringLiteral("2026-04-01"));
    QCOMPARE(legalEntryFor(*list, QStringLiteral("67-63-0"))->name, QStringLiteral("プロピルアルコール"));
    QCOMPARE(legalEntryFor(*list, QStringLiteral("67-63-0"))->sinceText(), QStringLiteral("2027-04-01"));

    // A sheet without the list's title is refused: it is not this list.
    const QString other = path();
    QVERIFY(writeWorkbook(other, {{QStringLiteral("Sheet1"), {{"名称"}, heading}}}, kSaved));
    const auto refused = readLegalLists({other});
    QVERIFY(!refused);
    QVERIFY2(refused.errorText().contains(QStringLiteral("義務対象物質一覧ではありません")),
             qPrintable(refused.errorText()));
}

QTEST_APPLESS_MAIN(TestGovernmentLists)
#include "tst_governmentlists.moc"
