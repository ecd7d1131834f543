// The table of label elements and the composer: a classification in, the label's elements out.
#include "ClassificationCell.h"
#include "LabelElements.h"

#include <QtTest>

using namespace corvane::ghs;

namespace {

// "AcuteOral=4;StotSingle=3(麻酔作用、気道刺激性)" -> entries.
std::vector<ClassEntry> entries(const QString &text)
{
    std::vector<ClassEntry> result;
    for (const QString &item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = item.section(QLatin1Char('='), 0, 0);
        QString category = item.section(QLatin1Char('='), 1);
        QStringList organs;
        if (const qsizetype open = category.indexOf(QLatin1Char('(')); open > 0) {
            organs = category.mid(open + 1).chopped(1).split(QStringLiteral("、"));
            category = category.left(open);
        }
        result.push_back({*hazardClassFromKey(key), category, organs});
    }
    return result;
}

QString joined(const QStringList &list) { return list.join(QLatin1Char(',')); }

} // namespace

class TestLabelElements : public QObject {
    Q_OBJECT

private slots:
    void compose_data();
    void compose();
    void precautionsMerged_data();
    void precautionsMerged();
    void tableRefusesMalformedRows_data();
    void tableRefusesMalformedRows();
};

void TestLabelElements::compose_data()
{
    QTest::addColumn<QString>("classification");
    QTest::addColumn<QString>("signalWord");
    QTest::addColumn<QString>("pictograms");
    QTest::addColumn<QString>("hazards");
    QTest::addColumn<QString>("extra"); // categories and fill-ins, or the expected problem

    QTest::newRow("flammable liquid 2") << "FlammableLiquids=2"
                                        << "危険"
                                        << "GHS02"
                                        << "H225"
                                        << "";
    QTest::newRow("flammable liquid 4 (Japan's category)") << "FlammableLiquids=4"
                                                           << "警告"
                                                           << ""
                                                           << "H227"
                                                           << "";
    QTest::newRow("acute toxicity of one strength combined") << "AcuteOral=4;AcuteDermal=4;AcuteInhalationVapour=4"
                                                             << "警告"
                                                             << "GHS07"
                                                             << "H302+H312+H332"
                                                             << "";
    QTest::newRow("inhalation: the most severe form, strongest first")
        << "AcuteOral=3;AcuteDermal=3;AcuteInhalationVapour=4;AcuteInhalationDust=2"
        << "危険"
        << "GHS06"
        << "H330,H301+H311"
        << "";
    QTest::newRow("no exclamation mark beside the skull") << "AcuteOral=3;SkinCorrosion=2;OzoneLayer=1"
                                                          << "危険"
                                                          << "GHS06"
                                                          << "H301,H315,H420"
                                                          << "";
    QTest::newRow("skin corrosion says what eye damage says") << "SkinCorrosion=1B;EyeDamage=1"
                                                              << "危険"
                                                              << "GHS05"
                                                              << "H314"
                                                              << "";
    QTest::newRow("no exclamation mark for irritation beside corrosion")
        << "CorrosiveToMetals=1;SkinCorrosion=2;EyeDamage=2A"
        << "警告"
        << "GHS05"
        << "H290,H315,H319"
        << "";
    QTest::newRow("exclamation mark beside corrosion for another reason") << "SkinCorrosion=1;StotSingle=3(気道刺激性)"
                                                                          << "危険"
                                                                          << "GHS05,GHS07"
                                                                          << "H314,H335"
                                                                          << "";
    QTest::newRow("respiratory sensitiser: no exclamation mark for the skin")
        << "RespiratorySensitisation=1;SkinSensitisation=1A;EyeDamage=2B"
        << "危険"
        << "GHS08"
        << "H334,H317,H320"
        << "";
    QTest::newRow("organs of single exposure and its category 3 effects")
        << "StotSingle=1(中枢神経系、視覚器、全身毒性);StotSingle=3(麻酔作用、気道刺激性)"
        << "危険"
        << "GHS07,GHS08"
        << "H370,H336,H335"
        << "H370=中枢神経系、視覚器、全身毒性";
    QTest::newRow("organs of repeated exposure") << "StotRepeated=2(生殖器（男性）)"
                                                 << "警告"
                                                 << "GHS08"
                                                 << "H373"
                                                 << "H373=生殖器（男性）";
    QTest::newRow("oxidiser category 3: the word from the category") << "OxidisingSolids=3"
                                                                     << "警告"
                                                                     << "GHS03"
                                                                     << "H272"
                                                                     << "H272=3";
    QTest::newRow("organic peroxide type B") << "OrganicPeroxides=タイプB"
                                             << "危険"
                                             << "GHS01,GHS02"
                                             << "H241"
                                             << "";
    QTest::newRow("self-reactive type C") << "SelfReactive=タイプC"
                                          << "危険"
                                          << "GHS02"
                                          << "H242"
                                          << "H242=C";
    QTest::newRow("self-reactive type G: nothing on the label") << "SelfReactive=タイプG"
                                                                << ""
                                                                << ""
                                                                << ""
                                                                << "";
    QTest::newRow("lactation alone") << "Lactation=追加区分"
                                     << ""
                                     << ""
                                     << "H362"
                                     << "";
    QTest::newRow("reproductive toxicity and lactation") << "ReproductiveToxicity=1B;Lactation=追加区分"
                                                         << "危険"
                                                         << "GHS08"
                                                         << "H360,H362"
                                                         << "";
    QTest::newRow("aquatic: chronic 2 without a word") << "AquaticAcute=2;AquaticChronic=2"
                                                       << ""
                                                       << "GHS09"
                                                       << "H401,H411"
                                                       << "";
    QTest::newRow("liquefied flammable gas") << "FlammableGases=1;GasesUnderPressure=液化ガス"
                                             << "危険"
                                             << "GHS02,GHS04"
                                             << "H220,H280"
                                             << "";
    QTest::newRow("chemically unstable gas B") << "FlammableGases=1;FlammableGases=化学的に不安定なガスB"
                                               << "危険"
                                               << "GHS02"
                                               << "H220,H231"
                                               << "";
    QTest::newRow("aspiration category 2") << "Aspiration=2"
                                           << "警告"
                                           << "GHS08"
                                           << "H305"
                                           << "";
    QTest::newRow("a category the table lacks") << "Aerosols=4"
                                                << ""
                                                << ""
                                                << ""
                                                << "!エアゾール 区分「4」";
    QTest::newRow("an effect that is not one of category 3") << "StotSingle=3(肝臓)"
                                                             << ""
                                                             << ""
                                                             << ""
                                                             << "!影響「肝臓」";
}

void TestLabelElements::compose()
{
    QFETCH(QString, classification);
    QFETCH(QString, signalWord);
    QFETCH(QString, pictograms);
    QFETCH(QString, hazards);
    QFETCH(QString, extra);
    QString problem;
    const auto label = composeLabel(entries(classification), LabelTable::builtIn(), &problem);
    if (extra.startsWith(QLatin1Char('!'))) {
        QVERIFY(!label);
        QVERIFY2(problem.contains(extra.mid(1)), qPrintable(problem));
        return;
    }
    QVERIFY2(label, qPrintable(problem));
    QCOMPARE(label->signalWord, signalWord);
    QCOMPARE(joined(label->pictograms), pictograms);
    QCOMPARE(joined(label->hazardCodes), hazards);
    QCOMPARE(joined(label->categories + label->fillIns), extra);
}

void TestLabelElements::precautionsMerged_data()
{
    QTest::addColumn<QString>("classification");
    QTest::addColumn<QString>("precautions");
    // Repeated exposure's 「吸入しないこと」 covers single exposure 3's 「吸入を避けること」; a
    // liquefied gas's P410+P403 says what P403 says; every code once, in code order.
    QTest::newRow("inhalation and a liquefied gas")
        << "FlammableGases=1;GasesUnderPressure=液化ガス;StotRepeated=1(肝臓);StotSingle=3(麻酔作用)"
        << "P210,P233,P260,P264,P270,P271,P304+P340,P312,P314,P377,P381,P405,P410+P403,P501";
    // A flammable liquid's P403+P235 says the peroxide's P403 and P235.
    QTest::newRow("organic peroxide in a flammable liquid")
        << "FlammableLiquids=2;OrganicPeroxides=タイプD"
        << "P210,P233,P234,P240,P241,P242,P243,P280,P303+P361+P353,P370+P378,P403+P235,P410,P411,P420,P501";
    QTest::newRow("self-reactive type G: nothing of its own") << "SelfReactive=タイプG;OzoneLayer=1"
                                                              << "P502";
}

void TestLabelElements::precautionsMerged()
{
    QFETCH(QString, classification);
    QFETCH(QString, precautions);
    QString problem;
    const auto label = composeLabel(entries(classification), LabelTable::builtIn(), &problem);
    QVERIFY2(label, qPrintable(problem));
    QCOMPARE(joined(label->precautionCodes), precautions);
    QVERIFY(label->unread.isEmpty());
}

void TestLabelElements::tableRefusesMalformedRows_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown class") << "Flammable\t1\t\tH225\t危険\tGHS02\t?\t出典"
                                   << "2行目: 分類「Flammable」";
    QTest::newRow("seven columns") << "FlammableLiquids\t1\t\tH224\t危険\tGHS02\t?"
                                   << "2行目: 列が 8 つ";
    QTest::newRow("bad P code") << "FlammableLiquids\t1\t\tH224\t危険\tGHS02\tP21\t出典"
                                << "2行目: P の列";
    QTest::newRow("no source") << "FlammableLiquids\t1\t\tH224\t危険\tGHS02\t?\t"
                               << "2行目: 出典がありません";
    QTest::newRow("twice")
        << "FlammableLiquids\t1\t\tH224\t危険\tGHS02\t?\t出典\nFlammableLiquids\t1\t\tH224\t危険\tGHS02\t?\t出典"
        << "3行目: FlammableLiquids 1 が二度";
}

void TestLabelElements::tableRefusesMalformedRows()
{
    QFETCH(QString, row);
    QFETCH(QString, message);
    const auto table = LabelTable::fromText(QStringLiteral("# comment\n") + row);
    QVERIFY(!table);
    QVERIFY2(table.errorText().contains(message), qPrintable(table.errorText()));
}

QTEST_APPLESS_MAIN(TestLabelElements)
#include "tst_labelelements.moc"
