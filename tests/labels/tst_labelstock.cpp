// The shipped report files, checked as geometry: where every field sits on
// the label stock, in 0.1 mm.
#include "LabelTestSupport.h"
#include "PrintLabels.h"
#include "ReportEngine.h"
#include "ReportParser.h"
#include "ReportRecorder.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using namespace corvane::testing;

namespace {

// A pictogram's red frame fills its box corner to corner; a side of at
// least 10 mm needs a box of 10 mm × √2 / 0.98 (the frame's share of the
// box in our SVGs).
constexpr int kMinimumPictogramBox = 145;

ReportDefinition loadShipped(const QString &name)
{
    QFile file(QStringLiteral(CORVANE_REPORTS_SOURCE_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const ReportParseResult result = parseReport(QString::fromUtf8(file.readAll()), name);
    for (const ReportParseError &error : result.errors)
        qWarning("%s", qPrintable(describeParseError(name, error)));
    return result.ok() ? result.report : ReportDefinition{};
}

QStringList slotFieldNames(int slot)
{
    const QString n = QString::number(slot);
    QStringList names = {QStringLiteral("Element") + n, QStringLiteral("Attention") + n, QStringLiteral("Harmful") + n};
    for (int mark = 1; mark <= 5; ++mark)
        names.append(QStringLiteral("Mark%1%2").arg(n).arg(mark));
    return names;
}

QRect fieldRect(const ReportDefinition &report, const QString &name)
{
    const FieldDefinition *field = report.field(name);
    return field ? field->rect : QRect();
}

// Pictogram diamonds (corners at the middle of each box side) do not overlap.
bool diamondsApart(const QRect &a, const QRect &b)
{
    const QPoint distance = a.center() - b.center();
    return qAbs(distance.x()) + qAbs(distance.y()) >= qMin(a.width(), b.width());
}

bool isMark(const QString &name)
{
    static const QRegularExpression mark(QStringLiteral("^Mark\\d+$"));
    return mark.match(name).hasMatch();
}

} // namespace

class LabelStockTest : public QObject {
    Q_OBJECT

private slots:
    void everyReportIsA4PortraitWithoutOverlaps_data();
    void everyReportIsA4PortraitWithoutOverlaps();
    void sheetSlotsMatchTheStock_data();
    void sheetSlotsMatchTheStock();
    void singleLabelsHaveTheirFields_data();
    void singleLabelsHaveTheirFields();
    void multiSubstanceSlotsRunRowByRow();
    void notesMoveCleanlyIntoTheFirstEmptyRow_data();
    void notesMoveCleanlyIntoTheFirstEmptyRow();
    void textNeverShrinksBelowALegibleSize_data();
    void textNeverShrinksBelowALegibleSize();
};

void LabelStockTest::everyReportIsA4PortraitWithoutOverlaps_data()
{
    QTest::addColumn<QString>("file");
    for (const char *file : {"MALAB26.PRP", "MALAB37.PRP", "SULABEL.PRP", "SMLABEL.PRP", "MULABEL.PRP"})
        QTest::newRow(file) << QString::fromLatin1(file);
}

void LabelStockTest::everyReportIsA4PortraitWithoutOverlaps()
{
    QFETCH(QString, file);
    const ReportDefinition report = loadShipped(file);
    QVERIFY(!report.fields.isEmpty());
    QCOMPARE(report.pageSize, QPageSize::A4);
    QCOMPARE(report.orientation, QPageLayout::Portrait);
    QVERIFY(!report.guides); // the stock is pre-cut
    for (qsizetype i = 0; i < report.fields.size(); ++i) {
        const FieldDefinition &a = report.fields[i];
        for (qsizetype j = 0; j < i; ++j) {
            const FieldDefinition &b = report.fields[j];
            if (isMark(a.name) && isMark(b.name))
                QVERIFY2(diamondsApart(a.rect, b.rect), qPrintable(a.name + u' ' + b.name));
            else
                QVERIFY2(!a.rect.intersects(b.rect), qPrintable(a.name + u' ' + b.name));
        }
        if (isMark(a.name))
            QVERIFY2(a.rect.width() >= kMinimumPictogramBox && a.rect.height() >= kMinimumPictogramBox,
                     qPrintable(a.name));
    }
}

void LabelStockTest::sheetSlotsMatchTheStock_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QPoint>("firstLabel");
    QTest::addColumn<QSize>("label"); // also the pitch: the labels touch
    QTest::addColumn<int>("innerMargin");
    QTest::addColumn<QStringList>("pageFields"); // outside the labels
    QTest::newRow("12 labels, 86.4 x 42.3 mm")
        << "MALAB26.PRP" << 2 << 6 << QPoint(186, 212) << QSize(864, 423) << 20 << QStringList{"PageNo"};
    QTest::newRow("21 labels, 70 x 42.3 mm, edge to edge")
        << "MALAB37.PRP" << 3 << 7 << QPoint(0, qRound((2970 - 7 * 423) / 2.0)) << QSize(700, 423) << 20
        << QStringList();
}

void LabelStockTest::sheetSlotsMatchTheStock()
{
    QFETCH(QString, file);
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(QPoint, firstLabel);
    QFETCH(QSize, label);
    QFETCH(int, innerMargin);
    QFETCH(QStringList, pageFields);
    const ReportDefinition report = loadShipped(file);
    QVERIFY(!report.fields.isEmpty());

    QStringList expectedNames = pageFields;
    QList<QRect> labels;
    for (int slot = 1; slot <= columns * rows; ++slot) {
        const int column = (slot - 1) % columns;
        const int row = (slot - 1) / columns;
        const QRect stock(firstLabel + QPoint(column * label.width(), row * label.height()), label);
        labels.append(stock);
        QVERIFY(QRect(0, 0, 2100, 2970).contains(stock));
        const QRect printable = stock.adjusted(innerMargin, innerMargin, -innerMargin, -innerMargin);
        for (const QString &name : slotFieldNames(slot)) {
            expectedNames.append(name);
            const QRect rect = fieldRect(report, name);
            QVERIFY2(printable.contains(rect), qPrintable(name));
            // Most printers cannot print within 4 mm of the paper's edge.
            QVERIFY2(QRect(40, 40, 2100 - 80, 2970 - 80).contains(rect), qPrintable(name));
        }
        QVERIFY(report.field(QStringLiteral("Attention%1").arg(slot))->style.bold);
        QVERIFY(report.field(QStringLiteral("Attention%1").arg(slot))->style.pointSize
                > report.field(QStringLiteral("Element%1").arg(slot))->style.pointSize);
        QVERIFY(report.field(QStringLiteral("Harmful%1").arg(slot))->style.wrap);
    }
    QStringList names;
    for (const FieldDefinition &field : report.fields)
        names.append(field.name);
    names.sort();
    expectedNames.sort();
    QCOMPARE(names, expectedNames);
    // The heading of a page stays clear of its labels and of the paper's edge.
    for (const QString &name : pageFields) {
        const QRect rect = fieldRect(report, name);
        QVERIFY2(QRect(40, 40, 2100 - 80, 2970 - 80).contains(rect), qPrintable(name));
        for (const QRect &stock : labels)
            QVERIFY2(!stock.intersects(rect), qPrintable(name));
    }

    // The outlines drawn for checking the alignment are the stock's labels.
    QList<QRect> guides;
    for (const ShapeDefinition &shape : report.shapes)
        if (shape.guide && shape.kind == ShapeDefinition::Kind::Rectangle)
            guides.append(shape.rect);
    QCOMPARE(guides, labels);
}

void LabelStockTest::singleLabelsHaveTheirFields_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("headings");
    const QStringList common = {"CopName",  "Address", "TelFax", "ProName", "Notes",  "Element1", "Attention1",
                                "Harmful1", "Mark11",  "Mark12", "Mark13",  "Mark14", "Mark15"};
    QTest::newRow("normal label") << "SULABEL.PRP" << common + QStringList{"CntElm"}
                                  << QStringList{"供給者", "含有成分", "貯蔵又は取扱い上の注意"};
    QTest::newRow("model label") << "SMLABEL.PRP" << common << QStringList{"供給者", "注意書き"};
}

void LabelStockTest::singleLabelsHaveTheirFields()
{
    QFETCH(QString, file);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, headings);
    const ReportDefinition report = loadShipped(file);
    QCOMPARE(report.fields.size(), fields.size());
    QRect border;
    for (const ShapeDefinition &shape : report.shapes)
        if (shape.kind == ShapeDefinition::Kind::Rectangle && !shape.guide)
            border = shape.rect;
    QVERIFY(!border.isNull());
    for (const QString &name : fields) {
        QVERIFY2(report.field(name), qPrintable(name));
        QVERIFY2(border.contains(fieldRect(report, name)), qPrintable(name));
    }
    QStringList texts;
    for (const StaticText &text : report.texts)
        texts.append(text.text);
    for (const QString &heading : headings)
        QVERIFY2(texts.contains(heading), qPrintable(heading));
}

void LabelStockTest::multiSubstanceSlotsRunRowByRow()
{
    const ReportDefinition report = loadShipped(QStringLiteral("MULABEL.PRP"));
    for (const char *name : {"CopName", "Address", "TelFax", "ProName", "CntElm", "Notes1", "Notes2", "Text6"})
        QVERIFY2(report.field(QString::fromLatin1(name)), name);
    QCOMPARE(report.field(QStringLiteral("Text6"))->defaultText, QStringLiteral("貯蔵又は取扱い上の注意"));
    const QRect first = fieldRect(report, QStringLiteral("Element1"));
    const QRect second = fieldRect(report, QStringLiteral("Element2"));
    for (int slot = 1; slot <= 6; ++slot) {
        const QString n = QString::number(slot);
        for (const QString &name : slotFieldNames(slot))
            QVERIFY2(report.field(name), qPrintable(name));
        const QRect element = fieldRect(report, QStringLiteral("Element") + n);
        const QRect attention = fieldRect(report, QStringLiteral("Attention") + n);
        const int column = (slot - 1) % 2;
        const int row = (slot - 1) / 2;
        QCOMPARE(element.x(), column == 0 ? first.x() : second.x());
        QCOMPARE(element.y(), first.y() + row * (fieldRect(report, QStringLiteral("Element3")).y() - first.y()));
        // The signal word directly below the name.
        QCOMPARE(attention.x(), element.x());
        QVERIFY(attention.top() > element.bottom());
        QVERIFY(attention.top() - element.bottom() <= 10);
    }
    QVERIFY(second.x() > first.right());
    // The supplier's name spans the label's inner width from its left margin.
    const QRect company = fieldRect(report, QStringLiteral("CopName"));
    QCOMPARE(company.x(), first.x());
    QVERIFY(company.right() >= fieldRect(report, QStringLiteral("Notes2")).right());
    QVERIFY(company.right() >= second.right());
}

void LabelStockTest::notesMoveCleanlyIntoTheFirstEmptyRow_data()
{
    QTest::addColumn<int>("emptySlot");
    QTest::newRow("rows 2 and 3 empty") << 3;
    QTest::newRow("row 3 empty") << 5;
}

// Moves the notes as the printing run does on the last page, then checks
// where they landed.
void LabelStockTest::notesMoveCleanlyIntoTheFirstEmptyRow()
{
    QFETCH(int, emptySlot);
    QTemporaryDir base;
    QVERIFY(QDir().mkpath(base.filePath(QStringLiteral("Data"))));
    QVERIFY(QFile::copy(QStringLiteral(CORVANE_REPORTS_SOURCE_DIR "/MULABEL.PRP"),
                        base.filePath(QStringLiteral("Data/MULABEL.PRP"))));
    ReportEngine engine;
    ReportCallLog log;
    engine.setBaseFolder(base.path());
    engine.setNoOutput();
    engine.setRecorder(&log);
    QVERIFY(engine.startDocument().ok());
    QVERIFY(engine.loadReport(ReportFile::SixSubstanceLabel).ok());
    const QString k = QString::number(emptySlot);
    MoveNotesOnLastPage(engine, emptySlot, QStringLiteral("火気厳禁"));
    engine.playPage();
    engine.endSheet();
    QVERIFY(engine.finishDocument().ok());

    const FilledPage &page = log.documents.at(0).sheets.at(0).layers.at(0);
    const ReportDefinition &report = page.report();
    const QRect heading = *page.rect(QStringLiteral("Text6"));
    const QRect notes = *page.rect(QStringLiteral("Notes1"));
    QCOMPARE(heading.y(), fieldRect(report, QStringLiteral("Element") + k).y());
    QCOMPARE(notes.width(), fieldRect(report, QStringLiteral("CopName")).width());

    // The heading sits above the notes, both clear of the filled rows above...
    QVERIFY(heading.bottom() < notes.top());
    for (int slot = 1; slot < emptySlot; ++slot)
        for (const QString &name : slotFieldNames(slot))
            QVERIFY2(!fieldRect(report, name).intersects(heading) && !fieldRect(report, name).intersects(notes),
                     qPrintable(name));
    // ...and of the supplier block below, inside the label's border.
    for (const char *name : {"CopName", "Address", "TelFax"})
        QVERIFY2(!fieldRect(report, QString::fromLatin1(name)).intersects(notes), name);
    for (const StaticText &text : report.texts)
        if (text.rect.top() > heading.top())
            QVERIFY2(!text.rect.intersects(notes), qPrintable(text.text));
    const auto border = std::find_if(report.shapes.cbegin(), report.shapes.cend(), [](const ShapeDefinition &shape) {
        return shape.kind == ShapeDefinition::Kind::Rectangle && !shape.guide;
    });
    QVERIFY(border != report.shapes.cend());
    QVERIFY(border->rect.contains(notes));
    QVERIFY(border->rect.contains(heading));
}

void LabelStockTest::textNeverShrinksBelowALegibleSize_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<qreal>("minimum"); // points
    QTest::newRow("normal label") << "SULABEL.PRP" << 6.0;
    QTest::newRow("six-label normal label") << "MULABEL.PRP" << 6.0;
    QTest::newRow("model label") << "SMLABEL.PRP" << 6.0;
    QTest::newRow("12 to a page") << "MALAB26.PRP" << 6.0;
    QTest::newRow("21 to a page") << "MALAB37.PRP" << 5.0;
}

// Hazard statements, precautions, notes, ingredients and the supplier's lines never shrink
// below the sheet's legible minimum.
void LabelStockTest::textNeverShrinksBelowALegibleSize()
{
    QFETCH(QString, file);
    QFETCH(qreal, minimum);
    const ReportDefinition report = loadShipped(file);
    QVERIFY(!report.fields.isEmpty());
    static const QRegularExpression body(QStringLiteral("^(Harmful\\d+|Notes\\d*|CntElm|CopName|Address|TelFax)$"));
    int checked = 0;
    for (const FieldDefinition &field : report.fields) {
        if (!body.match(field.name).hasMatch())
            continue;
        ++checked;
        QVERIFY2(qMin(field.style.minimumPointSize, field.style.pointSize) >= minimum, qPrintable(field.name));
    }
    QVERIFY(checked > 0);
}

QTEST_MAIN(LabelStockTest)
#include "tst_labelstock.moc"
