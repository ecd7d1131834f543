#include "Catalogue.h"
#include "Database.h"
#include "Fixture.h"
#include "PrintLabels.h"
#include "ReportEngine.h"
#include "ReportRecorder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;

namespace {

struct Printed {
    bool ok = false;
    QStringList cut;
    ReportCallLog log;
    QStringList messages;
    QStringList warnings;
    QStringList incomplete;
    QList<int> missing;

    const QList<ReportSheet> &sheets() const { return log.documents.front().sheets; }
    // The text of a field on a sheet's (last) layer.
    QString field(int sheet, const QString &name) const
    {
        return sheets().at(sheet).layers.back().text(name).value_or(QStringLiteral("<no field>"));
    }
    QRect rect(int sheet, const QString &name) const
    {
        return sheets().at(sheet).layers.back().rect(name).value_or(QRect());
    }
    QRect reportRect(int sheet, const QString &name) const
    {
        return sheets().at(sheet).layers.back().report().field(name)->rect;
    }
    int filledSlots(int sheet, int perPage) const
    {
        int count = 0;
        for (int n = 1; n <= perPage; ++n)
            count += field(sheet, QStringLiteral("Element%1").arg(n)).isEmpty() ? 0 : 1;
        return count;
    }
};

} // namespace

class TestPrintLabels : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramFolder> folder;
    std::unique_ptr<Database> db;
    std::vector<SubstanceRecord> master;

    std::unique_ptr<Printed> print(int productId, LabelKind kind, bool single, const QString &pdf = {},
                                   const PrintOptions &options = {})
    {
        auto printed = std::make_unique<Printed>();
        ReportEngine engine;
        engine.setBaseFolder(folder->path());
        if (pdf.isEmpty())
            engine.setNoOutput();
        else
            engine.setPdfOutput(pdf);
        engine.setRecorder(&printed->log);
        const PrintResult result = PrintLabels(*db, productId, kind, single, engine, options);
        printed->ok = result.outcome.ok();
        printed->warnings = result.warnings;
        printed->incomplete = result.incomplete;
        printed->missing = result.missing;
        for (const CutText &cut : result.cut)
            printed->cut << describeCut(cut);
        if (!result.outcome)
            printed->messages << result.outcome.errorText();
        return printed;
    }

    // A product with the given substance numbers, its kind and texts.
    int product(const QString &name, const std::vector<int> &substances, int itemType = 0,
                const QString &notes = QStringLiteral("火気厳禁"))
    {
        const int id = **catalogue::registerProduct(*db, name);
        catalogue::addEntries(*db, id, substances);
        catalogue::writeProductRow(*db, id, {name, notes, QStringLiteral("トルエン 30%"), itemType},
                                   static_cast<int>(substances.size()));
        return id;
    }

    static QString lines(const QString &stem, int count)
    {
        QStringList all;
        for (int i = 1; i <= count; ++i)
            all << QStringLiteral("%1%2行目：容器を密閉し、換気の良い冷暗所に保管すること。").arg(stem).arg(i);
        return all.join(QStringLiteral("\r\n"));
    }

    // The words pdftotext finds on a page, with their boxes in points.
    static QList<QPair<QString, QRectF>> words(const QString &pdf, int page)
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"),
                      {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                       QString::number(page), pdf, QStringLiteral("-")});
        process.waitForFinished();
        static const QRegularExpression word(QStringLiteral(
            "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
        QList<QPair<QString, QRectF>> found;
        for (auto it = word.globalMatch(QString::fromUtf8(process.readAllStandardOutput())); it.hasNext();) {
            const auto m = it.next();
            QString text = m.captured(5);
            text.replace(QStringLiteral("&apos;"), QStringLiteral("'"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""));
            text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"));
            text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
            found.append({text, QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                       QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
        }
        return found;
    }

    static std::vector<int> firstN(int n)
    {
        std::vector<int> numbers;
        for (int i = 1; i <= n; ++i)
            numbers.push_back(i);
        return numbers;
    }

    // The n substances with the shortest hazard statements, in the master's order.
    std::vector<int> shortest(int n) const
    {
        std::vector<const SubstanceRecord *> sorted;
        for (const SubstanceRecord &substance : master)
            sorted.push_back(&substance);
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const auto *a, const auto *b) { return a->hazards.size() < b->hazards.size(); });
        std::vector<int> numbers;
        for (int i = 0; i < n; ++i)
            numbers.push_back(sorted.at(static_cast<size_t>(i))->id);
        std::sort(numbers.begin(), numbers.end());
        return numbers;
    }

    QString name(int substance) const { return master.at(static_cast<size_t>(substance - 1)).name; }

    // What does not fit when the whole master is printed on a sheet kind, as reviewed in
    // tests/printing/whole-master-cut.tsv ("kind<TAB>substance: field"). The government's
    // classifications give some substances more statements than a label holds even at the
    // smallest size; each is named when printed, and this list is what to shorten when the
    // layouts change.
    static QStringList expectedCut(const QString &kind)
    {
        QFile file(QStringLiteral(CORVANE_SOURCE_DIR "/tests/printing/whole-master-cut.tsv"));
        QStringList lines;
        if (file.open(QIODevice::ReadOnly))
            for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
                if (line.startsWith(kind + QLatin1Char('\t')))
                    lines << line.section(QLatin1Char('\t'), 1);
        return lines;
    }
    // "3ページ 20番目（エチルベンゼン）: 危険有害性情報" -> "エチルベンゼン: 危険有害性情報"
    static QStringList byName(const QStringList &cut)
    {
        static const QRegularExpression place(QStringLiteral("^[0-9]+ページ [0-9]+番目（(.*)）: (.*)$"));
        QStringList named;
        for (const QString &line : cut) {
            const auto m = place.match(line);
            named << (m.hasMatch() ? m.captured(1) + QStringLiteral(": ") + m.captured(2) : line);
        }
        return named;
    }
    // With CORVANE_WRITE_CUT set, what was cut is also written to that file in the list's
    // format: how the list is made again after the master or a layout changed (then reviewed).
    static QStringList recorded(const QString &kind, const QStringList &cut)
    {
        if (const QString path = qEnvironmentVariable("CORVANE_WRITE_CUT"); !path.isEmpty()) {
            QFile file(path);
            if (file.open(QIODevice::Append))
                for (const QString &line : cut)
                    file.write((kind + QLatin1Char('\t') + line + QLatin1Char('\n')).toUtf8());
        }
        return cut;
    }
    // Printing every substance takes long under the sanitizers: there a sample stands for the
    // master (every 40th substance), and what is cut is only checked to be named.
#ifdef CORVANE_SANITIZE
    static constexpr bool kSample = true;
#else
    static constexpr bool kSample = false;
#endif
    std::vector<int> wholeMaster() const
    {
        std::vector<int> numbers;
        for (int i = 1; i <= int(master.size()); i += kSample ? 40 : 1)
            numbers.push_back(i);
        return numbers;
    }

private slots:
    void init()
    {
        folder = std::make_unique<ProgramFolder>();
        QVERIFY2(folder->isValid(), qPrintable(folder->error()));
        db = folder->open();
        QVERIFY(db);
        master = catalogue::allSubstances(*db);
        QVERIFY(master.size() >= 30);
        QVERIFY(catalogue::writeCompany(
            *db, {QStringLiteral("化学株式会社"), QStringLiteral("東京都"), QStringLiteral("TEL 03, FAX 03")}));
    }
    void cleanup()
    {
        db.reset();
        folder.reset();
    }

    void additionalSheetsChangePageOnlyForAFurtherSubstance_data()
    {
        QTest::addColumn<LabelKind>("kind");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("perPage");
        QTest::addColumn<int>("pages");
        QTest::newRow("12 on 12") << LabelKind::Additional2x6 << 12 << 12 << 1;
        QTest::newRow("13 on 12") << LabelKind::Additional2x6 << 13 << 12 << 2;
        QTest::newRow("21 on 21") << LabelKind::Additional3x7 << 21 << 21 << 1;
        QTest::newRow("22 on 21") << LabelKind::Additional3x7 << 22 << 21 << 2;
    }
    void additionalSheetsChangePageOnlyForAFurtherSubstance()
    {
        QFETCH(LabelKind, kind);
        QFETCH(int, count);
        QFETCH(int, perPage);
        QFETCH(int, pages);
        const std::vector<int> numbers = shortest(count); // each fits any label of the sheet
        const int id = product(QStringLiteral("p"), numbers);
        const auto printed = print(id, kind, false);
        QVERIFY(printed->ok);
        QCOMPARE(printed->sheets().size(), pages);
        const int onLast = count == 0 ? 0 : count - (pages - 1) * perPage;
        QCOMPARE(printed->filledSlots(pages - 1, perPage), onLast);
        if (count > 0) {
            QCOMPARE(printed->field(pages - 1, QStringLiteral("Element%1").arg(onLast)), name(numbers.back()));
            QCOMPARE(printed->field(0, QStringLiteral("Harmful1")), master[numbers.front() - 1].hazards);
            QCOMPARE(printed->field(0, QStringLiteral("Attention1")), master[numbers.front() - 1].signalWord);
        }
        // Engine calls: one load per page, each page played and ended, the last played and
        // the document ended.
        const QStringList ops = printed->log.operations();
        QCOMPARE(ops.front(), QStringLiteral("startDocument"));
        QCOMPARE(ops.count(QStringLiteral("loadReport")), pages);
        QCOMPARE(ops.count(QStringLiteral("playPage")), pages);
        QCOMPARE(ops.count(QStringLiteral("endSheet")), pages - 1);
        QCOMPARE(ops.mid(ops.size() - 2), (QStringList{"playPage", "finishDocument"}));
        QCOMPARE(printed->log.calls.at(1).arguments.last().toString(),
                 kind == LabelKind::Additional2x6 ? QStringLiteral("MALAB26.PRP") : QStringLiteral("MALAB37.PRP"));
    }

    // (product, kind, options) -> what the run says and where the labels go.
    void runsReportWhatDidNotFit_data()
    {
        QTest::addColumn<int>("substances");
        QTest::addColumn<int>("notesLines");
        QTest::addColumn<LabelKind>("kind");
        QTest::addColumn<int>("single");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("cut");
        QTest::addColumn<QStringList>("pageNumbers"); // PageNo of each page
        QTest::addColumn<QStringList>("incomplete");  // words of each sentence on what the labels lack
        const QStringList none;
        QTest::newRow("short normal label")
            << 1 << 3 << LabelKind::Normal << 1 << 1 << 1 << QString() << none << none << none;
        // Nothing is printed that has no substance to warn of; the model label is for a
        // single-substance product only, as the main menu offers it.
        QTest::newRow("normal label without substances")
            << 0 << 3 << LabelKind::Normal << 1 << 1 << 0 << "物質が登録されていません。" << none << none << none;
        QTest::newRow("six labels without substances")
            << 0 << 3 << LabelKind::Normal << 0 << 1 << 0 << "物質が登録されていません。" << none << none << none;
        QTest::newRow("model label without substances")
            << 0 << 3 << LabelKind::Model << 1 << 1 << 0 << "物質が登録されていません。" << none << none << none;
        QTest::newRow("model label of several substances")
            << 2 << 3 << LabelKind::Model << -1 << 1 << 0
            << "モデルラベルは単一物質の製品だけに印刷できます。製品「長い製品」は複数物質の製品です。" << none << none
            << none;
        QTest::newRow("no supplier: printed, said so") << -2 << 3 << LabelKind::Normal << 1 << 1 << 1 << QString()
                                                       << none << none << QStringList{"供給者の欄が空です"};
        QTest::newRow("long notes and ingredients cut, said so")
            << 1 << 60 << LabelKind::Normal << 1 << 1 << 1 << QString() << QStringList{"1ページ: 注意事項"} << none
            << none;
        QTest::newRow("six labels, 7 substances: numbered pages")
            << 7 << 3 << LabelKind::Normal << 0 << 1 << 2 << QString() << none << QStringList{"1/2", "2/2"} << none;
        QTest::newRow("six labels, 6 substances: one page, no number")
            << 6 << 3 << LabelKind::Normal << 0 << 1 << 1 << QString() << none << QStringList{""} << none;
        QTest::newRow("12-up without substances") << 0 << 3 << LabelKind::Additional2x6 << 0 << 1 << 0
                                                  << "物質が登録されていません。" << none << none << none;
        QTest::newRow("21-up single without substances") << 0 << 3 << LabelKind::Additional3x7 << 1 << 1 << 0
                                                         << "物質が登録されていません。" << none << none << none;
        QTest::newRow("12-up from label 11: 3 substances on 2 pages")
            << 3 << 3 << LabelKind::Additional2x6 << 0 << 11 << 2 << QString() << none << none << none;
        QTest::newRow("21-up from label 21")
            << 1 << 3 << LabelKind::Additional3x7 << 0 << 21 << 1 << QString() << none << none << none;
        QTest::newRow("21-up copies from label 19")
            << 1 << 3 << LabelKind::Additional3x7 << 1 << 19 << 1 << QString() << none << none << none;
        QTest::newRow("start past the sheet") << 1 << 3 << LabelKind::Additional2x6 << 0 << 13 << 0
                                              << "開始位置は 1 から 12 までです。" << none << none << none;
        QTest::newRow("no start position on a normal label")
            << 1 << 3 << LabelKind::Normal << 1 << 2 << 0 << "開始位置は 1 から 1 までです。" << none << none << none;
        // Every substance of the master (-1), as many pages as it takes (-1): a hazard statement
        // is never cut on the six-label page or the 12-up sheet; on the 21-up sheet the
        // longest are, and each is named.
        QTest::newRow("whole master, six labels") << -1 << 3 << LabelKind::Normal << 0 << 1 << -1 << QString()
                                                  << QStringList{"@six labels"} << QStringList{} << none;
        QTest::newRow("whole master, 12-up") << -1 << 3 << LabelKind::Additional2x6 << 0 << 1 << -1 << QString()
                                             << QStringList{"@12-up"} << none << none;
        QTest::newRow("whole master, list of all target substances")
            << -1 << 3 << LabelKind::AllSubstances << 0 << 1 << -1 << QString()
            << QStringList{"@list of all target substances"} << none << none;
        QTest::newRow("whole master, 21-up") << -1 << 3 << LabelKind::Additional3x7 << 0 << 1 << -1 << QString()
                                             << QStringList{"@21-up"} << none << none;
    }
    void runsReportWhatDidNotFit()
    {
        QFETCH(int, substances);
        QFETCH(int, notesLines);
        QFETCH(LabelKind, kind);
        QFETCH(int, single);
        QFETCH(int, start);
        QFETCH(int, pages);
        QFETCH(QString, error);
        QFETCH(QStringList, cut);
        QFETCH(QStringList, pageNumbers);
        QFETCH(QStringList, incomplete);
        if (substances == -2) { // one substance, no company record
            execOrFail(*db, QStringLiteral("DELETE FROM 会社情報"));
            substances = 1;
        }
        const bool severalForModel = single < 0; // a product of several substances, asked for one
        if (severalForModel)
            single = 1;
        const bool wholeMaster = substances < 0;
        const std::vector<int> numbers = wholeMaster ? this->wholeMaster() : firstN(substances);
        substances = static_cast<int>(numbers.size());
        const int perPage = labelsPerSheet(kind) == 1 && single == 0 ? 6 : labelsPerSheet(kind);
        int id = product(QStringLiteral("長い製品"), numbers, single, lines(QStringLiteral("注意"), notesLines));
        catalogue::writeProductRow(*db, id,
                                   {QStringLiteral("長い製品"), lines(QStringLiteral("注意"), notesLines),
                                    lines(QStringLiteral("成分"), notesLines / 5 + 1), severalForModel ? 0 : single},
                                   substances);
        if (kind == LabelKind::AllSubstances)
            id = -1; // the list the master brings: every substance
        const QString pdf = QDir(folder->path()).filePath(QStringLiteral("out.pdf"));
        const auto printed = print(id, kind, single == 1, pdf, PrintOptions{start});
        QCOMPARE(printed->messages, error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(printed->ok, error.isEmpty());
        if (!printed->ok) {
            QVERIFY(!QFile::exists(pdf));
            return;
        }
        const QStringList leftOut = byName(printed->incomplete);
        if (wholeMaster && kSample) {
            for (const QString &line : byName(printed->cut))
                QVERIFY2(line.endsWith(QStringLiteral(": 危険有害性情報")) || line.endsWith(QStringLiteral(": 物質名")),
                         qPrintable(line));
        } else if (wholeMaster) {
            QCOMPARE(recorded(cut.front().mid(1), byName(printed->cut) + leftOut), expectedCut(cut.front().mid(1)));
        } else {
            QCOMPARE(printed->cut, cut);
            for (const QString &words : incomplete)
                QVERIFY2(printed->incomplete.join(u'\n').contains(words), qPrintable(printed->incomplete.join(u'\n')));
            if (incomplete.isEmpty())
                QCOMPARE(printed->incomplete, QStringList());
        }
        // The substances in the order printed: those left out (named in what the labels lack) pass on.
        // (Names compare whole: 「クロム酸: 危険有害性情報」 is the end of 「無水クロム酸: 危険有害性情報」.)
        QSet<QString> leftOutNames;
        for (const QString &line : leftOut)
            if (const qsizetype at = line.indexOf(QStringLiteral(": 危険有害性情報")); at > 0)
                leftOutNames.insert(line.left(at));
        QStringList expectedNames;
        const std::vector<int> listed = id == -1 ? firstN(int(master.size())) : numbers;
        for (int number : listed)
            if (!leftOutNames.contains(name(number)))
                expectedNames << name(number);
        if (pages < 0)
            pages = (start - 1 + int(expectedNames.size()) + perPage - 1) / perPage;
        QCOMPARE(printed->sheets().size(), pages);
        for (int page = 0; page < pageNumbers.size(); ++page)
            QCOMPARE(printed->field(page, QStringLiteral("PageNo")), pageNumbers[page]);

        // Labels start at the chosen position: measured where the names land in the PDF.
        // Where the names land is measured on the first two pages (the layout repeats).
        const int placed = single ? perPage - start + 1 : std::min(int(expectedNames.size()), 2 * perPage - start + 1);
        QHash<int, QList<QPair<QString, QRectF>>> pageWords;
        for (int i = 0; i < placed && perPage > 1 && kind != LabelKind::Normal; ++i) {
            const int position = (start - 1 + i) % perPage + 1;
            const int page = (start - 1 + i) / perPage;
            const QRect label = printed->reportRect(page, QStringLiteral("Element%1").arg(position));
            const QString expected = single ? name(1) : expectedNames[i];
            if (!pageWords.contains(page))
                pageWords.insert(page, words(pdf, page + 1));
            QString inLabel; // a name may come back as several words
            for (const auto &[text, box] : pageWords.value(page))
                if (QRectF(label).contains(box.center() * 254.0 / 72.0))
                    inLabel += text;
            const bool found = inLabel.contains(QString(expected).remove(u' '));
            QVERIFY2(
                found,
                qPrintable(QStringLiteral("%1 at position %2 of page %3").arg(expected).arg(position).arg(page + 1)));
        }
        // What was cut is not in the PDF at all; what was shown is.
        if (notesLines == 60) {
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
            QVERIFY(text.waitForFinished());
            const QString all = QString::fromUtf8(text.readAllStandardOutput());
            QVERIFY(all.contains(QStringLiteral("注意1行目")));
            QVERIFY(!all.contains(QStringLiteral("注意60行目")));
            QVERIFY(all.contains(QStringLiteral("成分13行目"))); // two columns hold the ingredients
        }
    }

    // A pictogram group is centred under the name; on the 21-up sheet up to four stand in one
    // row, five are staggered so that they fit. Where the pictograms stand in a block beside
    // the text (the 12-up sheet, the six-label page), fewer than five are set out in it.
    void pictogramsAreCentredUnderTheName_data()
    {
        QTest::addColumn<LabelKind>("kind");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("arrangement"); // row, staggered or block
        QTest::newRow("21-up, 2") << LabelKind::Additional3x7 << 2 << "row";
        QTest::newRow("21-up, 4") << LabelKind::Additional3x7 << 4 << "row";
        QTest::newRow("21-up, 5") << LabelKind::Additional3x7 << 5 << "staggered";
        QTest::newRow("12-up, 1") << LabelKind::Additional2x6 << 1 << "block";
        QTest::newRow("12-up, 2") << LabelKind::Additional2x6 << 2 << "block";
        QTest::newRow("12-up, 3") << LabelKind::Additional2x6 << 3 << "block";
        QTest::newRow("12-up, 4") << LabelKind::Additional2x6 << 4 << "block";
        QTest::newRow("12-up, 5") << LabelKind::Additional2x6 << 5 << "block";
        QTest::newRow("six labels, 3") << LabelKind::Normal << 3 << "block";
        QTest::newRow("normal, 1") << LabelKind::Normal << 1 << "row";
    }
    void pictogramsAreCentredUnderTheName()
    {
        QFETCH(LabelKind, kind);
        QFETCH(int, count);
        QFETCH(QString, arrangement);
        const QStringList files{"GHS02.svg", "GHS05.svg", "GHS06.svg", "GHS07.svg", "GHS08.svg"};
        QStringList set;
        for (int m = 1; m <= 5; ++m) // the pictures sit in the last fields of the master, gaps first
            set << QStringLiteral("絵表示%1 = %2")
                       .arg(m)
                       .arg(m > 5 - count ? "'" + files[m - 1] + "'" : QStringLiteral("NULL"));
        execOrFail(*db, QStringLiteral("UPDATE 表示物質 SET %1 WHERE ID = 1").arg(set.join(", ")));
        const bool single = kind == LabelKind::Normal && arrangement == QStringLiteral("row");
        const int id = product(QStringLiteral("p"), {1}, single ? 1 : 0);
        const auto printed = print(id, kind, single);
        QVERIFY(printed->ok);
        QList<QRect> marks;
        QRect block; // the report's own pictogram fields
        for (int m = 1; m <= count; ++m) {
            marks << printed->rect(0, QStringLiteral("Mark1%1").arg(m));
            QCOMPARE(printed->field(0, QStringLiteral("Mark1%1").arg(m)), "#BMP=Data\\" + files[5 - count + m - 1]);
        }
        for (int m = 1; m <= 5; ++m)
            block = block.united(printed->reportRect(0, QStringLiteral("Mark1%1").arg(m)));
        QCOMPARE(printed->field(0, QStringLiteral("Mark1%1").arg(count + 1 > 5 ? 5 : count + 1)).isEmpty(), count < 5);
        bool oneRow = true;
        QRect group;
        for (int m = 0; m < count; ++m) {
            group = group.united(marks[m]);
            oneRow = oneRow && marks[m].y() == marks[0].y();
            for (int other = 0; other < m; ++other) { // diamonds (corners at the box sides' middles) apart
                const QPoint distance = marks[m].center() - marks[other].center();
                QVERIFY2(qAbs(distance.x()) + qAbs(distance.y()) >= marks[m].width() - 1, "overlapping");
            }
        }
        if (arrangement == QStringLiteral("block")) {
            QVERIFY2(block.contains(group), "outside the block");
            QVERIFY2(qAbs(group.center().x() - block.center().x()) <= 1, "not centred in the block");
            QCOMPARE(oneRow, count <= 2);
            return;
        }
        QCOMPARE(oneRow, arrangement == QStringLiteral("row"));
        const int groupCentre = (marks.first().left() + marks.last().left() + marks.last().width()) / 2;
        const QRect name = printed->rect(0, QStringLiteral("Element1"));
        // A group wider than the name keeps within the label instead.
        if (marks.last().right() - marks.first().left() < name.width())
            QVERIFY2(qAbs(groupCentre - (name.left() + name.width() / 2)) <= 1,
                     qPrintable(QString::number(groupCentre)));
    }

    // The one-substance labels, with every substance of the master in turn: nothing is cut, so
    // no hazard statement (and on the model label no precautionary statement) is lost.
    void wholeMasterOnTheOneSubstanceLabels_data()
    {
        QTest::addColumn<ReportFile>("report");
        QTest::newRow("normal label") << ReportFile::SingleSubstanceLabel;
        QTest::newRow("model label") << ReportFile::ModelLabel;
    }
    void wholeMasterOnTheOneSubstanceLabels()
    {
        QFETCH(ReportFile, report);
        ReportEngine engine;
        engine.setBaseFolder(folder->path());
        engine.setNoOutput();
        QVERIFY(engine.startDocument().ok());
        std::vector<const SubstanceRecord *> printedSubstances;
        for (int number : wholeMaster())
            printedSubstances.push_back(&master.at(static_cast<size_t>(number - 1)));
        for (const SubstanceRecord *each : printedSubstances) {
            const SubstanceRecord &substance = *each;
            QVERIFY(engine.loadReport(report).ok());
            ClearReportFields(engine, 1);
            engine.setFieldText(QStringLiteral("Element1"), substance.name);
            engine.setFieldText(QStringLiteral("Attention1"), substance.signalWord);
            engine.setFieldText(QStringLiteral("Harmful1"), substance.hazards);
            if (report == ReportFile::ModelLabel)
                engine.setFieldText(QStringLiteral("Notes"), substance.precautions);
            engine.playPage();
            engine.endSheet();
        }
        QVERIFY(engine.finishDocument().ok());
        QStringList cut;
        for (const SheetField &field : engine.lastCutFields())
            cut << QStringLiteral("%1: %2").arg(printedSubstances.at(static_cast<size_t>(field.sheet))->name,
                                                field.field);
        if (!kSample)
            QCOMPARE(recorded(QString::fromUtf8(QTest::currentDataTag()), cut),
                     expectedCut(QString::fromUtf8(QTest::currentDataTag())));
    }

    // A Data folder keeps the report files it was made with. One that is an earlier release's
    // file, unchanged, prints with today's layout; one the user changed prints as it is.
    void earlierReportFilesGiveWayToTodays()
    {
        const QString target = QDir(folder->dataFolder()).filePath(QStringLiteral("MALAB26.PRP"));
        QFile earlier(QStringLiteral(CORVANE_SOURCE_DIR "/tests/printing/earlier/MALAB26.PRP"));
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        const QByteArray text = earlier.readAll();
        const int id = product(QStringLiteral("p"), {1});
        for (const bool changed : {false, true}) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(changed ? text + "# 利用者が変えた\n" : text);
            file.close();
            const auto printed = print(id, LabelKind::Additional2x6, false);
            QVERIFY(printed->ok);
            // Today: the statements beside the block of pictograms. Then: below a row of them.
            QCOMPARE(printed->reportRect(0, QStringLiteral("Harmful1")),
                     changed ? QRect(186 + 25, 212 + 243, 814, 160) : QRect(186 + 335, 212 + 87, 504, 316));
        }
    }

    // What a user typed or imported, as the normal label prints it: line and paragraph
    // separators break lines where the field has lines and are a space where it has one,
    // control characters are left out, the PDF's title is clean, and a character no font has
    // is left out and named instead of printed as a box.
    void typedCharactersNeverDeleteOrGarbleText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QStringList>("cut");
        QTest::newRow("line separator in the notes") << "Notes" << QStringLiteral("火気厳禁\u2028保護手袋を着用")
                                                     << QStringLiteral("火気厳禁\r\n保護手袋を着用") << QStringList();
        QTest::newRow("paragraph separator in the name")
            << "ProName" << QStringLiteral("洗浄剤\u2029A") << QStringLiteral("洗浄剤 A") << QStringList();
        QTest::newRow("control characters in the ingredients")
            << "CntElm" << QStringLiteral("トルエン\a\x1b\b\v\x7f\u0085 30%") << QStringLiteral("トルエン\r\n 30%")
            << QStringList();
        QTest::newRow("control characters in the name")
            << "ProName" << QStringLiteral("洗浄剤\a\x1b\b\vA") << QStringLiteral("洗浄剤A") << QStringList();
        QTest::newRow("control characters in the supplier")
            << "CopName" << QStringLiteral("化学\a\r\n株式会社") << QStringLiteral("化学 株式会社") << QStringList();
        QTest::newRow("a character no font has")
            << "ProName" << QStringLiteral("𠮷野化学🧪") << QStringLiteral("𠮷野化学🧪")
            << QStringList{"1ページ: 製品名（印刷できない文字「𠮷🧪」）"};
    }
    void typedCharactersNeverDeleteOrGarbleText()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, printed);
        QFETCH(QStringList, cut);
        const int id = product(QStringLiteral("p"), {1}, 1);
        catalogue::ProductFields fields{field == u"ProName" ? typed : QStringLiteral("p"),
                                        field == u"Notes" ? typed : QString(), field == u"CntElm" ? typed : QString(),
                                        1};
        catalogue::writeProductRow(*db, id, fields, 1);
        if (field == u"CopName")
            QVERIFY(catalogue::writeCompany(*db, {typed, QStringLiteral("東京都"), QStringLiteral("TEL 03")}));
        const QString pdf = QDir(folder->path()).filePath(QStringLiteral("typed.pdf"));
        const auto result = print(id, LabelKind::Normal, true, pdf);
        QVERIFY(result->ok);
        QCOMPARE(result->field(0, field), printed);
        QCOMPARE(result->cut, cut);
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(info.waitForFinished());
        const QString title = QString::fromUtf8(info.readAllStandardOutput()).section(u'\n', 0, 0);
        QCOMPARE(title, QStringLiteral("Title:           ") + (field == u"ProName" ? printed : QStringLiteral("p")));
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        const QString all = QString::fromUtf8(text.readAllStandardOutput());
        for (const QString &written :
             printed.split(QRegularExpression(QStringLiteral("[\\s\\x{20BB7}\\x{1F9EA}]+")), Qt::SkipEmptyParts))
            QVERIFY2(all.contains(written), qPrintable(written));
        QVERIFY(!all.contains(QStringLiteral("𠮷")) && !all.contains(QStringLiteral("🧪")));
    }

    void titleNamesTheProductAndAnUnreadablePictureTheSubstance()
    {
        const int id = product(QStringLiteral("洗浄剤 A"), {1});
        const QString pdf = QDir(folder->path()).filePath(QStringLiteral("t.pdf"));
        for (const auto &[productId, kind, title] : std::initializer_list<std::tuple<int, LabelKind, QString>>{
                 {id, LabelKind::Additional2x6, QStringLiteral("洗浄剤 A")},
                 {-1, LabelKind::AllSubstances, QStringLiteral("全対象物質")}}) {
            QVERIFY(print(productId, kind, false, pdf)->ok);
            QProcess info;
            info.start(QStringLiteral("pdfinfo"), {pdf});
            QVERIFY(info.waitForFinished());
            QVERIFY(
                QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("Title:           ") + title));
        }
        execOrFail(*db, QStringLiteral("UPDATE 表示物質 SET 絵表示2 = ' ' WHERE ID = 1"));
        const auto printed = print(id, LabelKind::Additional2x6, false, pdf);
        QVERIFY(!printed->ok);
        QVERIFY2(printed->messages.value(0).startsWith(QStringLiteral("「%1」の絵表示").arg(name(1))),
                 qPrintable(printed->messages.value(0)));
    }

    void picturesAreReferencedFromTheDataFolder()
    {
        // A substance with pictograms and one slot Null in the master.
        int withPictures = 0;
        for (const SubstanceRecord &s : master)
            if (!s.pictures[0].isEmpty() && s.pictures[4].isEmpty()) {
                withPictures = s.id;
                break;
            }
        QVERIFY(withPictures > 0);
        const int id = product(QStringLiteral("p"), {withPictures});
        const auto printed = print(id, LabelKind::Additional2x6, false);
        const SubstanceRecord &s = master[static_cast<size_t>(withPictures - 1)];
        QCOMPARE(printed->field(0, QStringLiteral("Mark11")), QStringLiteral("#BMP=Data\\") + s.pictures[0]);
        QCOMPARE(printed->field(0, QStringLiteral("Mark15")), QString());
    }

    void substancesThatAreNotInTheMasterAreSkippedWithAWarning()
    {
        SKIP_ON_SERVER(); // text and huge numbers in number columns exist only in old files
        const int id = **catalogue::registerProduct(*db, QStringLiteral("p"));
        execOrFail(
            *db,
            QStringLiteral(
                "INSERT INTO ProductItemEntry (ProductID, BlockNo, ItemID1, ItemID2, ItemID3, ItemID4, ItemID5, ItemID6) "
                "VALUES (%1, 1, 99999, NULL, 0, 'x', 5, 1e300)")
                .arg(id));
        const auto printed = print(id, LabelKind::Additional2x6, false);
        QVERIFY(printed->ok);
        QCOMPARE(printed->field(0, QStringLiteral("Element1")), name(5));
        QCOMPARE(printed->filledSlots(0, 12), 1);
        QCOMPARE(printed->warnings.size(), 1);
        QVERIFY(printed->warnings.at(0).contains(QStringLiteral("「p」"))
                && printed->warnings.at(0).contains(QStringLiteral("99999")));
    }

    // A label that shows none of the product's hazards must not pass for its label: when the
    // master lacks every substance of the product, no kind of label is printed.
    void whenTheMasterLacksEverySubstanceNothingIsPrinted_data()
    {
        QTest::addColumn<LabelKind>("kind");
        QTest::addColumn<int>("single");
        QTest::newRow("normal label, several substances") << LabelKind::Normal << 0;
        QTest::newRow("normal label, one substance") << LabelKind::Normal << 1;
        QTest::newRow("model label") << LabelKind::Model << 1;
        QTest::newRow("12 to a page") << LabelKind::Additional2x6 << 0;
        QTest::newRow("21 to a page, one substance") << LabelKind::Additional3x7 << 1;
    }
    void whenTheMasterLacksEverySubstanceNothingIsPrinted()
    {
        QFETCH(LabelKind, kind);
        QFETCH(int, single);
        const int id = product(QStringLiteral("消えた物質"), {99998, 99999}, single);
        const auto printed = print(id, kind, single == 1);
        QVERIFY(!printed->ok);
        // A one-substance label is of the first substance only.
        QCOMPARE(printed->missing, single ? QList<int>({99998}) : QList<int>({99998, 99999}));
        QVERIFY2(printed->messages.value(0).contains(single ? QStringLiteral("番号 99998）")
                                                            : QStringLiteral("番号 99998、99999"))
                     && printed->messages.value(0).contains(QStringLiteral("ラベルを印刷しません")),
                 qPrintable(printed->messages.join(QLatin1Char('\n'))));
        QVERIFY(printed->log.documents.isEmpty() || printed->log.documents.front().sheets.isEmpty());
    }

    void picturesOutsideTheDataFolderAreRefused()
    {
        QTemporaryDir outside;
        const QString secret = outside.filePath(QStringLiteral("secret.svg"));
        QVERIFY(QFile::copy(QDir(folder->dataFolder()).filePath(master[0].pictures[0]), secret));
        QVERIFY(QFile::link(secret, QDir(folder->dataFolder()).filePath(QStringLiteral("link.svg"))));
        const QString outsideName = QFileInfo(outside.path()).fileName();
        for (const QString &reference : {QStringLiteral("..\\..\\") + outsideName + QStringLiteral("\\secret.svg"),
                                         secret, QStringLiteral("link.svg")}) {
            execOrFail(*db, QStringLiteral("UPDATE 表示物質 SET 絵表示1 = '%1' WHERE ID = 1").arg(reference));
            const QString pdf = QDir(folder->path()).filePath(QStringLiteral("outside.pdf"));
            const auto printed =
                print(product(QStringLiteral("p") + reference, {1}), LabelKind::Additional2x6, false, pdf);
            // Refused (or, for an absolute path, looked for inside the Data folder only).
            QVERIFY2(!printed->ok, qPrintable(reference));
            QVERIFY2(printed->messages.value(0).contains(QStringLiteral("絵表示のファイルを読み込めません")),
                     qPrintable(printed->messages.value(0)));
            QVERIFY(!QFile::exists(pdf));
        }

        // Text a user typed is printed as text, even when it looks like a picture reference.
        execOrFail(*db, QStringLiteral("UPDATE 表示物質 SET 絵表示1 = NULL WHERE ID = 1"));
        const QString typed = QStringLiteral("#BMP=Data\\link.svg");
        const QString pdf = QDir(folder->path()).filePath(QStringLiteral("typed.pdf"));
        QVERIFY(print(product(typed, {1}, 0, typed), LabelKind::Normal, false, pdf)->ok);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        QVERIFY(QString::fromUtf8(text.readAllStandardOutput()).count(QStringLiteral("#BMP=Data")) >= 2);
    }

    void singleSubstanceFillsOnePageWithCopies_data()
    {
        QTest::addColumn<LabelKind>("kind");
        QTest::addColumn<int>("perPage");
        QTest::addColumn<QString>("report");
        QTest::newRow("normal") << LabelKind::Normal << 1 << QStringLiteral("SULABEL.PRP");
        QTest::newRow("model") << LabelKind::Model << 1 << QStringLiteral("SMLABEL.PRP");
        QTest::newRow("12") << LabelKind::Additional2x6 << 12 << QStringLiteral("MALAB26.PRP");
        QTest::newRow("21") << LabelKind::Additional3x7 << 21 << QStringLiteral("MALAB37.PRP");
    }
    void singleSubstanceFillsOnePageWithCopies()
    {
        QFETCH(LabelKind, kind);
        QFETCH(int, perPage);
        QFETCH(QString, report);
        const int id = product(QStringLiteral("p"), {7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, 1);
        const auto printed = print(id, kind, true);
        QVERIFY(printed->ok);
        QCOMPARE(printed->sheets().size(), 1);
        QCOMPARE(printed->log.calls.at(1).arguments.last().toString(), report);
        for (int n = 1; n <= perPage; ++n)
            QCOMPARE(printed->field(0, QStringLiteral("Element%1").arg(n)), name(7));
        if (kind == LabelKind::Normal || kind == LabelKind::Model) {
            QCOMPARE(printed->field(0, QStringLiteral("CopName")), QStringLiteral("化学株式会社"));
            QCOMPARE(printed->field(0, QStringLiteral("TelFax")), QStringLiteral("TEL 03, FAX 03"));
            QCOMPARE(printed->field(0, QStringLiteral("ProName")), QStringLiteral("p"));
        }
        if (kind == LabelKind::Normal) {
            QCOMPARE(printed->field(0, QStringLiteral("Notes")), QStringLiteral("火気厳禁"));
            QCOMPARE(printed->field(0, QStringLiteral("CntElm")), QStringLiteral("トルエン 30%"));
        }
        if (kind == LabelKind::Model) // the model label's notes are the substance's precautionary statements
            QCOMPARE(printed->field(0, QStringLiteral("Notes")), master[6].precautions);
    }

    void sixLabelNormalMovesTheNotesOnTheLastPage_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("intoSlot"); // 0: not moved
        QTest::newRow("7") << 7 << 2 << 3;
        QTest::newRow("6") << 6 << 1 << 0;
        QTest::newRow("5") << 5 << 1 << 0;
        QTest::newRow("4") << 4 << 1 << 5;
        QTest::newRow("3") << 3 << 1 << 5;
        QTest::newRow("2") << 2 << 1 << 3;
        QTest::newRow("1") << 1 << 1 << 3;
    }
    void sixLabelNormalMovesTheNotesOnTheLastPage()
    {
        QFETCH(int, count);
        QFETCH(int, pages);
        QFETCH(int, intoSlot);
        QString notes;
        for (int i = 1; i <= 26; ++i)
            notes += QStringLiteral("注意事項の行 %1\r\n").arg(i);
        const int id = product(QStringLiteral("p"), firstN(count), 0, notes);
        const auto printed = print(id, LabelKind::Normal, false);
        QVERIFY(printed->ok);
        QCOMPARE(printed->sheets().size(), pages);
        QString first, rest;
        SplitNotes(notes, first, rest);
        QVERIFY(!rest.isEmpty());
        const int last = pages - 1;
        if (pages > 1) {
            QCOMPARE(printed->field(0, QStringLiteral("Notes1")), first);
            QCOMPARE(printed->field(0, QStringLiteral("Notes2")), rest);
            QCOMPARE(printed->field(0, QStringLiteral("ProName")), QStringLiteral("p"));
            QCOMPARE(printed->field(last, QStringLiteral("ProName")), QStringLiteral("p"));
            QCOMPARE(printed->field(last, QStringLiteral("CopName")), QStringLiteral("化学株式会社"));
        }
        if (intoSlot == 0) {
            QCOMPARE(printed->field(last, QStringLiteral("Notes1")), first);
            QCOMPARE(printed->field(last, QStringLiteral("Notes2")), rest);
            QCOMPARE(printed->rect(last, QStringLiteral("Notes1")),
                     printed->reportRect(last, QStringLiteral("Notes1")));
            return;
        }
        QCOMPARE(printed->field(last, QStringLiteral("Notes1")), notes);
        QCOMPARE(printed->field(last, QStringLiteral("Notes2")), QString());
        const QRect attention = printed->reportRect(last, QStringLiteral("Attention%1").arg(intoSlot));
        const QRect element = printed->reportRect(last, QStringLiteral("Element%1").arg(intoSlot));
        const QRect notes1 = printed->rect(last, QStringLiteral("Notes1"));
        QCOMPARE(notes1.topLeft(), attention.topLeft());
        QCOMPARE(notes1.width(), printed->reportRect(last, QStringLiteral("CopName")).width());
        QCOMPARE(notes1.bottom(), printed->reportRect(last, QStringLiteral("Notes1")).bottom());
        const QRect text6 = printed->rect(last, QStringLiteral("Text6"));
        QCOMPARE(text6.y(), element.y());
        QCOMPARE(text6.height(), element.height());
        QCOMPARE(text6.x(), printed->reportRect(last, QStringLiteral("Text6")).x());
        // The moved block stays on the page.
        QVERIFY(notes1.bottom() <= printed->sheets().at(last).layers.back().report().pageExtent().height());
    }

    void modelLabelShowsTheFirstSubstanceWithItsPrecautions()
    {
        const int id = product(QStringLiteral("p"), firstN(13), 1);
        const auto printed = print(id, LabelKind::Model, true);
        QCOMPARE(printed->sheets().size(), 1);
        QCOMPARE(printed->field(0, QStringLiteral("Element1")), name(1));
        QCOMPARE(printed->field(0, QStringLiteral("Notes")), master[0].precautions);
    }

    void missingProductOrListIsReported()
    {
        for (const auto &[id, kind] : std::initializer_list<std::pair<int, LabelKind>>{
                 {77, LabelKind::Normal}, {77, LabelKind::Model}, {-5, LabelKind::AllSubstances}}) {
            const auto printed = print(id, kind, kind == LabelKind::Model);
            QVERIFY(!printed->ok);
            QCOMPARE(printed->messages, QStringList{QStringLiteral("製品情報が登録されていません。")});
            QCOMPARE(printed->log.operations().last(), QStringLiteral("abortDocument"));
            QVERIFY(printed->log.documents.isEmpty());
        }
    }

    void allTargetSubstancesPrintTwelveToAPage()
    {
        const auto printed = print(-1, LabelKind::AllSubstances, false);
        QVERIFY(printed->ok);
        const int n = static_cast<int>(master.size());
        const int pages = (n + 11) / 12;
        QCOMPARE(printed->sheets().size(), pages);
        QCOMPARE(printed->field(0, QStringLiteral("Element1")), name(1));
        // Hundreds of pages: each says what it is and where it stands.
        QCOMPARE(printed->field(0, QStringLiteral("PageNo")), QStringLiteral("全対象物質 1/%1").arg(pages));
        QCOMPARE(printed->field(pages - 1, QStringLiteral("PageNo")), QStringLiteral("全対象物質 %1/%1").arg(pages));
        // A product's sheet of the same stock has no such heading.
        QCOMPARE(print(product(QStringLiteral("p"), shortest(13)), LabelKind::Additional2x6, false)
                     ->field(1, QStringLiteral("PageNo")),
                 QString());
        QCOMPARE(printed->field(0, QStringLiteral("CopName")), QStringLiteral("<no field>")); // no header on this sheet
    }

    void missingReportFileIsReportedByName()
    {
        QVERIFY(QFile::remove(QDir(folder->dataFolder()).filePath(QStringLiteral("MALAB37.PRP"))));
        const int id = product(QStringLiteral("p"), {1});
        const auto printed = print(id, LabelKind::Additional3x7, false);
        QVERIFY(!printed->ok);
        QCOMPARE(printed->messages.size(), 1);
        QVERIFY2(printed->messages.front().contains(QStringLiteral("MALAB37.PRP")),
                 qPrintable(printed->messages.front()));
        QCOMPARE(printed->log.operations().last(), QStringLiteral("abortDocument"));
    }

    void missingPictogramIsNeverPrintedSilently()
    {
        const int id = product(QStringLiteral("p"), {1});
        const QString picture = master[0].pictures[0];
        QVERIFY(!picture.isEmpty());
        QVERIFY(QFile::remove(QDir(folder->dataFolder()).filePath(picture)));
        const QString pdf = QDir(folder->path()).filePath(QStringLiteral("out.pdf"));
        const auto printed = print(id, LabelKind::Additional2x6, false, pdf);
        QVERIFY(!printed->ok);
        QVERIFY2(printed->messages.value(0).contains(picture), qPrintable(printed->messages.value(0)));
        QVERIFY(!QFile::exists(pdf));
    }

    void aDataFolderOfAnyNameServesTheDataReferences()
    {
        const int id = product(QStringLiteral("p"), {1});
        const QString stock = QDir(folder->path()).filePath(QStringLiteral("在庫 Stock"));
        QVERIFY(QDir().rename(folder->dataFolder(), stock));
        ReportEngine engine;
        engine.setDataFolder(stock);
        engine.setPdfOutput(QDir(folder->path()).filePath(QStringLiteral("stock.pdf")));
        QVERIFY(PrintLabels(*db, id, LabelKind::Additional2x6, false, engine).outcome.ok());
        QVERIFY(QFile::remove(QDir(stock).filePath(QStringLiteral("MALAB26.PRP"))));
        const PrintResult failed = PrintLabels(*db, id, LabelKind::Additional2x6, false, engine);
        QVERIFY(!failed.outcome.ok());
        QVERIFY2(failed.outcome.failure().message.contains(QDir(stock).filePath(QStringLiteral("MALAB26.PRP"))),
                 qPrintable(failed.outcome.errorText()));
    }

    // Kinds 6 and 7 of a paint of toluene 30 % and acetone 10-20 % (flash point 5 °C, initial
    // boiling point 60 °C), read back from the PDF; contents over 100 % print nothing.
    void mixtureLabelAndItsBasisReadBackFromThePdf()
    {
        const auto numberOf = [&](const QString &name) {
            for (const SubstanceRecord &substance : master)
                if (substance.name == name)
                    return substance.id;
            return 0;
        };
        const int toluene = numberOf(QStringLiteral("トルエン")), acetone = numberOf(QStringLiteral("アセトン"));
        QVERIFY(toluene > 0 && acetone > 0);
        const int id = product(QStringLiteral("塗料M"), {toluene, acetone});
        const catalogue::ProductFields fields{QStringLiteral("塗料M"), {}, {}, 0};
        ProductMixture mixture;
        mixture.contents = {{toluene, ghs::Content::value(30)}, {acetone, ghs::Content::range(10, 20)}};
        mixture.properties.flashPointCelsius = 5;
        mixture.properties.initialBoilingPointCelsius = 60;
        QVERIFY(catalogue::saveProduct(*db, id, {toluene, acetone}, fields, std::nullopt, &mixture));
        const auto pdfText = [](const QString &pdf) {
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
            text.waitForFinished();
            return QString::fromUtf8(text.readAllStandardOutput()).remove(QRegularExpression(QStringLiteral("\\s")));
        };

        const QString labelPdf = QDir(folder->path()).filePath(QStringLiteral("mixture.pdf"));
        const auto label = print(id, LabelKind::MixtureLabel, false, labelPdf);
        QVERIFY2(label->ok && label->cut.isEmpty(), qPrintable((label->messages + label->cut).join(u'\n')));
        const QString onLabel = pdfText(labelPdf);
        for (const QString &expected : {QStringLiteral("塗料M"), QStringLiteral("危険"),
                                        QStringLiteral("引火性の高い液体及び蒸気"), QStringLiteral("化学株式会社")})
            QVERIFY2(onLabel.contains(expected), qPrintable(expected + QLatin1Char('\n') + onLabel));
        // Both ingredients carry P210: the merged precautions say it once.
        QCOMPARE(onLabel.count(QStringLiteral("裸火及び他の着火源から遠ざけること")), 1);

        const QString basisPdf = QDir(folder->path()).filePath(QStringLiteral("basis.pdf"));
        const auto basis = print(id, LabelKind::ClassificationBasis, false, basisPdf);
        QVERIFY2(basis->ok && basis->cut.isEmpty(), qPrintable((basis->messages + basis->cut).join(u'\n')));
        const QString report = pdfText(basisPdf);
        const int pages = int(basis->sheets().size());
        for (const QString &expected : {QStringLiteral("【引火性液体】区分2"), QStringLiteral("引火点:5°C"),
                                        QStringLiteral("アセトン（物質番号%1）含有率10-20%").arg(acetone),
                                        QStringLiteral("ラベル表示の義務がある"), QStringLiteral("物質マスタの版"),
                                        QStringLiteral("%1/%1").arg(pages)})
            QVERIFY2(report.contains(expected), qPrintable(expected + QLatin1Char('\n') + report));

        mixture.contents[toluene] = ghs::Content::value(95);
        QVERIFY(catalogue::saveProduct(*db, id, {toluene, acetone}, fields, std::nullopt, &mixture));
        QFile::remove(labelPdf);
        const auto refused = print(id, LabelKind::MixtureLabel, false, labelPdf);
        QVERIFY(!refused->ok && !QFile::exists(labelPdf));
        QVERIFY2(refused->messages.join(u'\n').contains(QStringLiteral("トルエン")),
                 qPrintable(refused->messages.join(u'\n')));
    }

    void pdfHasOnePagePerSheetAndJapaneseText()
    {
        const int id = product(QStringLiteral("p"), firstN(13));
        const QString pdf = QDir(folder->path()).filePath(QStringLiteral("out.pdf"));
        const auto printed = print(id, LabelKind::Additional2x6, false, pdf);
        QVERIFY(printed->ok);
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(info.waitForFinished());
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\b"))));
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        const QString extracted = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(extracted.contains(name(13)), qPrintable(name(13)));
    }
};

QTEST_MAIN(TestPrintLabels)
#include "tst_printlabels.moc"
