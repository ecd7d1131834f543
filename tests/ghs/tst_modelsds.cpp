// The label elements composed from NITE's classification, against the hazard statements read
// from MHLW's model SDS for the same substances: the same where the two agree, and exactly the
// differences recorded (with their reasons) where the government's classifications differ.
#include "LabelElements.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QtTest>

using namespace corvane::ghs;

namespace {

QStringList lines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList result;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty() && !line.startsWith(QLatin1Char('#')))
            result << line;
    return result;
}

// "H302+H312,H315" -> {H302, H312, H315}
QSet<QString> codes(const QString &field)
{
    QSet<QString> set;
    for (const QString &code : field.split(QLatin1Char(','), Qt::SkipEmptyParts))
        for (const QString &part : code.split(QLatin1Char('+')))
            set.insert(part.trimmed());
    return set;
}

QString sorted(const QSet<QString> &set)
{
    QStringList list(set.begin(), set.end());
    list.sort();
    return list.join(QLatin1Char(','));
}

} // namespace

class TestModelSds : public QObject {
    Q_OBJECT

private slots:
    void sameAsTheModelSds_data();
    void sameAsTheModelSds();
};

void TestModelSds::sameAsTheModelSds_data()
{
    QTest::addColumn<QString>("cas");
    QTest::addColumn<QString>("modelSds");
    QTest::addColumn<QString>("niteOnly");
    QTest::addColumn<QString>("modelOnly");
    const QStringList rows = lines(QStringLiteral(CORVANE_SOURCE_DIR "/tests/ghs/model-sds-hazards.tsv"));
    QCOMPARE(rows.size(), 15);
    for (const QString &row : rows) {
        const QStringList f = row.split(QLatin1Char('\t'));
        QTest::newRow(qPrintable(f.value(1)))
            << f.value(0) << f.value(3) << sorted(codes(f.value(4))) << sorted(codes(f.value(5)));
    }
}

void TestModelSds::sameAsTheModelSds()
{
    QFETCH(QString, cas);
    QFETCH(QString, modelSds);
    QFETCH(QString, niteOnly);
    QFETCH(QString, modelOnly);
    // NITE's classification as the master keeps it: classifications.tsv by the master's number.
    QHash<QString, int> numberOfCas;
    for (const QString &line : lines(QStringLiteral(CORVANE_SOURCE_DIR "/data/master/substances.tsv"))) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.value(10) == QLatin1String("NITE"))
            numberOfCas.insert(f.value(2), f.value(0).toInt());
    }
    QVERIFY2(numberOfCas.contains(cas), qPrintable(cas));
    std::vector<ClassEntry> entries;
    for (const QString &line : lines(QStringLiteral(CORVANE_SOURCE_DIR "/data/master/classifications.tsv"))) {
        const QStringList f = line.split(QLatin1Char('\t'));
        // Rows marking a class the list could not classify (分類できない) carry no label element.
        if (f.value(0).toInt() == numberOfCas.value(cas) && f.value(2) != QStringLiteral("分類できない"))
            entries.push_back({*hazardClassFromKey(f.value(1)), f.value(2),
                               f.value(3).isEmpty() ? QStringList() : f.value(3).split(QStringLiteral("、"))});
    }
    QString problem;
    const auto label = composeLabel(entries, LabelTable::builtIn(), &problem);
    QVERIFY2(label, qPrintable(problem));
    const QSet<QString> composed = codes(label->hazardCodes.join(QLatin1Char(',')));
    const QSet<QString> model = codes(modelSds);
    QCOMPARE(sorted(composed - model), niteOnly);
    QCOMPARE(sorted(model - composed), modelOnly);
}

QTEST_APPLESS_MAIN(TestModelSds)
#include "tst_modelsds.moc"
