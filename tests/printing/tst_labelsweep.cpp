// Every substance of the master on every label position of the sheets of additional labels
// (kinds 3, 4 and 5, each start position): a hazard statement is printed whole or not at all,
// and a substance whose statements do not fit its label is left out and named with the sheet
// that holds it. The text fitting is measured per label, no PDF is drawn. The sanitizer build
// checks a sample of the master.
#include "Catalogue.h"
#include "Database.h"
#include "Fixture.h"
#include "FontLibrary.h"
#include "PrintLabels.h"
#include "ReportEngine.h"
#include "ReportRecorder.h"
#include "TextFitter.h"

#include <QRegularExpression>
#include <QTest>

using namespace corvane;

namespace {

// The characters of a text that print, without the spaces and line breaks the fitter drops.
QString inked(QString text)
{
    static const QRegularExpression blanks(QStringLiteral("[\\s\\x{3000}]"));
    return text.remove(blanks);
}

// How many whole statements (paragraphs) the lines shown make up, from the first; -1 when the
// last one shown is a fragment.
int wholeStatementsShown(const FittedText &fitted, const QString &text)
{
    QString shown;
    for (const FittedLine &line : fitted.lines)
        shown += inked(line.text);
    QString whole;
    int count = 0;
    for (const QString &statement : text.split(QRegularExpression(QStringLiteral("\\r\\n|\\n")), Qt::SkipEmptyParts)) {
        if (whole == shown)
            return count;
        whole += inked(statement);
        ++count;
    }
    return whole == shown ? count : -1;
}

} // namespace

class LabelSweepTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<Database> db;
    std::vector<SubstanceRecord> master;
    std::vector<int> swept; // substance numbers printed
    int productId = 0;
    FontLibrary fonts;
    TextFitter fitter{fonts};
    QHash<QString, int> leftOutCount; // kind -> substances left out at some start position

private slots:
    void initTestCase()
    {
        folder = std::make_unique<ProgramFolder>();
        QVERIFY2(folder->isValid(), qPrintable(folder->error()));
        db = folder->open();
        QVERIFY(db);
        master = catalogue::allSubstances(*db);
        QVERIFY(master.size() >= 30);
#ifdef CORVANE_SWEEP_SAMPLE
        // Every eighth substance and the twenty with the longest statements.
        std::vector<const SubstanceRecord *> longest;
        for (const SubstanceRecord &substance : master)
            longest.push_back(&substance);
        std::sort(longest.begin(), longest.end(),
                  [](const auto *a, const auto *b) { return a->hazards.size() > b->hazards.size(); });
        QSet<int> sample;
        for (size_t i = 0; i < longest.size() && i < 20; ++i)
            sample.insert(longest[i]->id);
        for (size_t i = 0; i < master.size(); i += 8)
            sample.insert(master[i].id);
        for (const SubstanceRecord &substance : master)
            if (sample.contains(substance.id))
                swept.push_back(substance.id);
#else
        for (const SubstanceRecord &substance : master)
            swept.push_back(substance.id);
#endif
        productId = **catalogue::registerProduct(*db, QStringLiteral("全物質"));
        catalogue::addEntries(*db, productId, swept);
        catalogue::writeProductRow(*db, productId, {QStringLiteral("全物質"), QString(), QString(), 0},
                                   static_cast<int>(swept.size()));
    }

    void cleanupTestCase()
    {
        for (auto it = leftOutCount.cbegin(); it != leftOutCount.cend(); ++it)
            qInfo("%s: %d of %zu substances left out at one start position or more", qPrintable(it.key()), it.value(),
                  swept.size());
        db.reset();
        folder.reset();
    }

    void statementsArePrintedWholeOrNotAtAll_data()
    {
        QTest::addColumn<LabelKind>("kind");
        QTest::addColumn<int>("start");
        for (const LabelKind kind : {LabelKind::Additional2x6, LabelKind::AllSubstances, LabelKind::Additional3x7})
            for (int start = 1; start <= labelsPerSheet(kind); ++start)
                QTest::addRow("kind %d from label %d", labelKindNumber(kind), start) << kind << start;
    }
    void statementsArePrintedWholeOrNotAtAll()
    {
        QFETCH(LabelKind, kind);
        QFETCH(int, start);
        ReportEngine engine;
        ReportCallLog log;
        engine.setBaseFolder(folder->path());
        engine.setNoOutput();
        engine.setRecorder(&log);
#ifdef CORVANE_SWEEP_SAMPLE
        const int printedId = productId; // the list of all target substances, cut to the sample
#else
        const int printedId = kind == LabelKind::AllSubstances ? -1 : productId;
#endif
        const PrintResult result = PrintLabels(*db, printedId, kind, false, engine, PrintOptions{start});
        QVERIFY2(result.outcome.ok(), qPrintable(result.outcome.errorText()));
        for (const CutText &cut : result.cut)
            QVERIFY2(cut.field != QStringLiteral("危険有害性情報"), qPrintable(describeCut(cut)));

        // Every label printed: its statements whole, as the fitter sets them in the field.
        QHash<QString, int> printed; // substance name -> labels
        const QList<ReportSheet> &sheets = log.documents.at(0).sheets;
        for (qsizetype s = 0; s < sheets.size(); ++s) {
            const FilledPage &page = sheets[s].layers.back();
            for (int slot = 1; slot <= labelsPerSheet(kind); ++slot) {
                const QString name = *page.text(QStringLiteral("Element%1").arg(slot));
                if (name.isEmpty())
                    continue;
                ++printed[name];
                const QString field = QStringLiteral("Harmful%1").arg(slot);
                const QString hazards = *page.text(field);
                const FieldDefinition &definition = *page.report().field(field);
                const QSizeF box = QRectF(*page.rect(field))
                                       .adjusted(definition.style.horizontalPadding, definition.style.verticalPadding,
                                                 -definition.style.horizontalPadding, -definition.style.verticalPadding)
                                       .size();
                const FittedText &fitted = fitter.fit(hazards, definition.style, box);
                const int statements =
                    int(hazards.split(QRegularExpression(QStringLiteral("\\r\\n|\\n")), Qt::SkipEmptyParts).size());
                QVERIFY2(wholeStatementsShown(fitted, hazards) == statements,
                         qPrintable(QStringLiteral("page %1 label %2 (%3)").arg(s + 1).arg(slot).arg(name)));
            }
        }

        // Every substance is printed or left out with the sheet that holds it, never both.
        QSet<QString> leftOut;
        for (const QString &line : result.incomplete) {
            static const QRegularExpression named(QStringLiteral("^[^（]*（(.+)）: 危険有害性情報が"));
            const auto match = named.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            // Left out of the 21-up sheet: the 12-up sheet holds it, or else the normal label
            // (the government's classifications give some substances more statements than
            // either sheet of additional labels holds).
            QVERIFY2(line.contains(QStringLiteral("通常のラベルには入ります"))
                         || (kind == LabelKind::Additional3x7
                             && line.contains(QStringLiteral("12面の追加ラベルには入ります"))),
                     qPrintable(line));
            leftOut.insert(match.captured(1));
        }
        for (const int number : swept) {
            const QString name = master.at(static_cast<size_t>(number - 1)).name;
            QVERIFY2(printed.value(name) + (leftOut.contains(name) ? 1 : 0) == 1, qPrintable(name));
        }
        static QHash<QString, QSet<QString>> leftOutByKind;
        const QString kindName = QStringLiteral("kind %1").arg(labelKindNumber(kind));
        leftOutByKind[kindName] += leftOut;
        leftOutCount[kindName] = int(leftOutByKind[kindName].size());
    }
};

QTEST_MAIN(LabelSweepTest)
#include "tst_labelsweep.moc"
